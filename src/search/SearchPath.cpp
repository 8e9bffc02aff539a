#include "search/SearchPath.h"

#include <filesystem>

#include "search/NamePattern.h"

namespace veilbox {
namespace fs = std::filesystem;

namespace {

// The absolute form with "." and ".." parts resolved, as the system's full
// path routine gives it: a last part of "." or ".." leaves no trailing
// separator behind.
std::string FullPath(const std::string& path, char separator) {
  const fs::path given(path);
  const std::string full = fs::absolute(given).lexically_normal().string();
  if (given.filename() == "." || given.filename() == "..") return Qualify(full, separator);
  return full;
}

}  // namespace

std::string Qualify(const std::string& path, char separator) {
  if (path.size() > 1 && path.back() == separator && !fs::path(path).relative_path().empty()) {
    return path.substr(0, path.size() - 1);
  }
  return path;
}

std::optional<SearchSpec> FileSpec(Platform& platform, const std::string& init_path) {
  const char separator = platform.Separator();
  const std::string path = FullPath(init_path, separator);
  const std::size_t spec_pos = path.rfind(separator) + 1;
  SearchSpec spec{Qualify(path.substr(0, spec_pos), separator), path.substr(spec_pos)};
  if (!platform.FolderExists(spec.folder)) return std::nullopt;
  if (spec.pattern.empty() || MatchesListingPattern(".", spec.pattern)) spec.pattern = "*.*";
  return spec;
}

}  // namespace veilbox
