#include "platform/Environment.h"

#include <cstdlib>

namespace veilbox {

std::optional<std::string> EnvironmentValue(const std::string& name) {
  if (const char* value = std::getenv(name.c_str())) return value;
  return std::nullopt;
}

}  // namespace veilbox
