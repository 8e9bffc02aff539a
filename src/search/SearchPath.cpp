#include "search/SearchPath.h"

#include <filesystem>

#include "platform/Utf8Path.h"
#include "search/NamePattern.h"

namespace veilbox {
namespace fs = std::filesystem;

namespace {

// The absolute form with "." and ".." parts resolved, as the system's full
// path routine gives it: a last part of "." or ".." leaves no trailing
// separator behind.
std::string FullPath(const std::string& path, char separator) {
  const fs::path given = PathFromUtf8(path);
  const std::string full = Utf8FromPath(fs::absolute(given).lexically_normal());
  if (given.filename() == "." || given.filename() == "..") return Qualify(full, separator);
  return full;
}

}  // namespace

std::string Qualify(const std::string& path, char separator) {
  if (path.size() > 1 && path.back() == separator && !PathFromUtf8(path).relative_path().empty()) {
    return path.substr(0, path.size() - 1);
  }
  return path;
}

std::optional<SearchSpec> FileSpec(Platform& platform, const std::string& init_path) {
  const char separator = platform.Separator();
  const std::string path = FullPath(init_path, separator);
  const std::size_t pattern_at = path.rfind(separator) + 1;
  SearchSpec wanted{Qualify(path.substr(0, pattern_at), separator), path.substr(pattern_at)};
  if (!platform.FolderExists(wanted.folder)) return std::nullopt;
  if (wanted.pattern.empty() || MatchesListingPattern(".", wanted.pattern)) wanted.pattern = "*.*";
  return wanted;
}

}  // namespace veilbox
