#include "platform/posix/NoLinkWalk.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

namespace veilbox::posix {
namespace fs = std::filesystem;

Fd::~Fd() {
  if (fd_ >= 0) ::close(fd_);
}

Fd& Fd::operator=(Fd&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

ParentWalk WalkToParent(const std::string& path) {
  ParentWalk walk;
  std::error_code ec;
  const fs::path full = fs::absolute(path, ec).lexically_normal();
  walk.full = full.string();
  if (walk.full.size() > 1 && walk.full.back() == '/') walk.full.pop_back();
  std::vector<std::string> parts;
  for (const fs::path& part : full.relative_path()) {
    if (!part.empty()) parts.push_back(part.string());
  }
  Fd current(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!current.Valid()) {
    walk.error = errno;
    walk.stopped.assign(1, '/');
    return walk;
  }
  std::string reached;
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    reached.append("/").append(parts[i]);
    // O_DIRECTORY with O_NOFOLLOW fails on a link instead of entering it.
    Fd next(
        ::openat(current.Get(), parts[i].c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!next.Valid()) {
      walk.error = errno;
      struct stat st;
      if (::fstatat(current.Get(), parts[i].c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
          S_ISLNK(st.st_mode)) {
        walk.error = ELOOP;
      }
      walk.stopped = reached;
      return walk;
    }
    current = std::move(next);
  }
  walk.parent = std::move(current);
  walk.name = parts.empty() ? "." : parts.back();
  return walk;
}

}  // namespace veilbox::posix
