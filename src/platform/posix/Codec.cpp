#include "platform/Codec.h"

namespace veilbox {

std::string ToAnsi(const std::string& text) {
  return text;
}
std::string FromAnsi(const std::string& bytes) {
  return bytes;
}

}  // namespace veilbox
