#include "cli/FullPath.h"

#include <filesystem>

namespace veilbox::cli {

std::string FullPath(const std::string& typed) {
  if (typed.empty()) return typed;
  std::string path = std::filesystem::absolute(typed).lexically_normal().string();
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace veilbox::cli
