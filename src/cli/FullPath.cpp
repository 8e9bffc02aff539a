#include "cli/FullPath.h"

#include <filesystem>

#include "platform/PathSeparator.h"
#include "platform/Utf8Path.h"

namespace veilbox::cli {

std::string FullPath(const std::string& typed) {
  if (typed.empty()) return typed;
  std::string path =
      Utf8FromPath(std::filesystem::absolute(PathFromUtf8(typed)).lexically_normal());
  while (path.size() > 1 && path.back() == kPathSeparator &&
         !PathFromUtf8(path).relative_path().empty()) {
    path.pop_back();
  }
  return path;
}

}  // namespace veilbox::cli
