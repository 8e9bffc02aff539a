// The process environment, read the platform's own way. On Windows the
// value is the one SetEnvironmentVariable sees, which children inherit, and
// an empty value is told apart from an absent one.
#pragma once

#include <optional>
#include <string>

namespace veilbox {

// nullopt when the variable is not set; its text (UTF-8) otherwise.
std::optional<std::string> EnvironmentValue(const std::string& name);

}  // namespace veilbox
