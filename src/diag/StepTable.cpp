#include "diag/StepTable.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace veilbox {
namespace {

using LineSteps = std::vector<std::pair<int, int>>;  // (line, step), by line

const std::unordered_map<std::string_view, LineSteps>& StepsByFile() {
  static const auto index = [] {
    std::unordered_map<std::string_view, LineSteps> files;
    for (int i = 0; i < kStepCount; ++i) {
      files[kStepLines[i].file].emplace_back(kStepLines[i].line, i + 1);
    }
    return files;
  }();
  return index;
}

// The compiler names a file by the path it was given; the table by its path
// below the source root. Try every suffix that starts after a separator.
const LineSteps* FindFile(std::string_view name) {
  const auto& files = StepsByFile();
  for (size_t start = 0; start < name.size();) {
    if (auto it = files.find(name.substr(start)); it != files.end()) return &it->second;
    size_t slash = name.find_first_of("/\\", start);
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
  return nullptr;
}

}  // namespace

int StepOf(const std::source_location& where) {
  return StepOf(where.file_name(), static_cast<int>(where.line()));
}

int StepOf(std::string_view file_name, int line) {
  const LineSteps* steps = FindFile(file_name);
  if (steps == nullptr) return 0;
  auto after = std::upper_bound(steps->begin(), steps->end(), line,
                                [](int l, const std::pair<int, int>& s) { return l < s.first; });
  return after == steps->begin() ? 0 : std::prev(after)->second;
}

std::vector<std::string> LoadCodeLines() {
  std::vector<std::string> lines;
  lines.reserve(kStepCount + 1);
  lines.emplace_back();
  for (int i = 0; i < kStepCount; ++i) lines.emplace_back(kStepLines[i].text);
  return lines;
}

}  // namespace veilbox
