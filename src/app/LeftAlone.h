// What Veilbox says of a record, a journal entry or a line it read back and
// left as it is, because it names no folder Veilbox may reach.
#pragma once

#include <cstddef>
#include <string>

namespace veilbox::msg {

inline std::string LeftAlone(const std::string& what, const std::string& problem) {
  return what + " was left as it is: " + problem + ".";
}
inline std::string RowOf(const std::string& file, size_t row) {
  return "Row " + std::to_string(row) + " of " + file;
}
constexpr const char* kLeftAloneTitle = "Folder list";

}  // namespace veilbox::msg
