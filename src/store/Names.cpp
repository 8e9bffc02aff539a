#include "store/Names.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace veilbox {
namespace {

bool Windows(char separator) {
  return separator == '\\';
}

// Names Windows gives to devices, with or without an extension: "NUL.txt"
// opens the null device, not a file.
bool IsDeviceName(std::string_view name) {
  name = name.substr(0, name.find('.'));
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  std::string upper(name);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  static constexpr std::array<std::string_view, 4> kPlain = {"CON", "PRN", "AUX", "NUL"};
  if (std::find(kPlain.begin(), kPlain.end(), upper) != kPlain.end()) return true;
  return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
         upper[3] >= '1' && upper[3] <= '9';
}

std::optional<std::string> PartProblem(std::string_view part) {
  if (part == "." || part == "..") return "has a \"" + std::string(part) + "\" part";
  return std::nullopt;
}

}  // namespace

std::optional<std::string> NameProblem(const std::string& name, char separator) {
  if (name.empty()) return "is empty";
  if (name == "." || name == "..") return "is \"" + name + "\"";
  const std::string_view forbidden = Windows(separator) ? "\\/:" : "/";
  if (const size_t at = name.find_first_of(forbidden); at != std::string::npos) {
    return "holds \"" + std::string(1, name[at]) + "\"";
  }
  if (Windows(separator) && IsDeviceName(name)) return "is the name of a device";
  return std::nullopt;
}

std::optional<std::string> FullPathProblem(const std::string& path, char separator) {
  size_t root = 0;
  if (!Windows(separator)) {
    if (path.starts_with('/')) root = 1;
  } else if (path.starts_with("\\\\")) {
    root = 2;
  } else if (path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
             path[1] == ':' && (path[2] == '\\' || path[2] == '/')) {
    root = 3;
  }
  if (root == 0) return "is not a full path";
  const std::string_view separators = Windows(separator) ? "\\/" : "/";
  std::string_view rest = std::string_view(path).substr(root);
  while (!rest.empty()) {
    const size_t end = rest.find_first_of(separators);
    if (auto problem = PartProblem(rest.substr(0, end))) return problem;
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return std::nullopt;
}

std::optional<std::string> RelativePathProblem(const std::string& path, char separator) {
  if (path.empty()) return std::nullopt;
  size_t start = 0;
  for (;;) {
    const size_t end = path.find(separator, start);
    const std::string part = path.substr(start, end == std::string::npos ? end : end - start);
    if (auto problem = NameProblem(part, separator)) return "has a part that " + *problem;
    if (end == std::string::npos) return std::nullopt;
    start = end + 1;
  }
}

}  // namespace veilbox
