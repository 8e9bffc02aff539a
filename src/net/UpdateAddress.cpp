#include "net/UpdateAddress.h"

#include <cstdlib>

namespace veilbox {

std::string UpdateAddress() {
  if (const char* address = std::getenv("VEILBOX_UPDATE_URL")) return address;
  return VEILBOX_UPDATE_URL_DEFAULT;
}

}  // namespace veilbox
