#include "platform/FileOpen.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "platform/posix/PosixFiles.h"

namespace veilbox {

std::FILE* OpenFile(const std::string& name, const char* mode) {
  return std::fopen(name.c_str(), mode);
}

bool CommitFile(std::FILE* file, const std::string& temp, const std::string& path) {
  const bool synced = std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
  if (std::fclose(file) != 0 || !synced) return false;
  if (posix::RenameNoReplaceAt(AT_FDCWD, temp, AT_FDCWD, path) != 0) return false;
  const std::string folder = std::filesystem::path(path).parent_path().string();
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool durable = ::fsync(fd) == 0;
  ::close(fd);
  return durable;
}

}  // namespace veilbox
