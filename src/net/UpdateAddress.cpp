#include "net/UpdateAddress.h"

#include "platform/Environment.h"

namespace veilbox {

std::string UpdateAddress() {
  if (std::optional<std::string> address = EnvironmentValue("VEILBOX_UPDATE_URL")) return *address;
  return VEILBOX_UPDATE_URL_DEFAULT;
}

}  // namespace veilbox
