#include "platform/FileOpen.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace veilbox {

std::FILE* OpenFile(const std::string& name, const char* mode) {
  return std::fopen(name.c_str(), mode);
}

std::FILE* OpenPrivateForAppend(const std::string& name) {
  const int fd = ::open(name.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return nullptr;
  if (::fchmod(fd, 0600) == 0) {
    if (std::FILE* file = ::fdopen(fd, "ab")) return file;
  }
  const int error_code = errno;
  ::close(fd);
  errno = error_code;
  return nullptr;
}

namespace {

// Makes the entries of the folder holding path durable.
bool SyncFolderOf(const std::string& path) {
  const std::string folder = std::filesystem::path(path).parent_path().string();
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool durable = ::fsync(fd) == 0;
  ::close(fd);
  return durable;
}

}  // namespace

long long FileEnd(std::FILE* file) {
  if (std::fflush(file) != 0) return -1;
  return ::lseek(::fileno(file), 0, SEEK_END);
}

bool TruncateFile(std::FILE* file, long long size) {
  return std::fflush(file) == 0 && ::ftruncate(::fileno(file), size) == 0;
}

bool SeekFile(std::FILE* file, long long offset) {
  return ::fseeko(file, offset, SEEK_SET) == 0;
}

bool SyncFile(std::FILE* file, const std::string& path, bool new_file) {
  if (std::fflush(file) != 0) return false;
  // A file that only grew needs its data and size on disk, not its times.
  if (!new_file) return ::fdatasync(::fileno(file)) == 0;
  return ::fsync(::fileno(file)) == 0 && SyncFolderOf(path);
}

}  // namespace veilbox
