#include "platform/FileOpen.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/win32/LongPath.h"
#include "platform/win32/Ownership.h"
#include "platform/win32/WideText.h"

namespace veilbox {
namespace {

std::wstring SystemPath(const std::string& path) {
  return win32::SystemPath(win32::Widen(path));
}

}  // namespace

std::FILE* OpenFile(const std::string& name, const char* mode) {
  return _wfopen(SystemPath(name).c_str(), win32::Widen(mode).c_str());
}

std::FILE* OpenPrivateForAppend(const std::string& name) {
  const HANDLE file = win32::OpenPrivateFileForAppend(win32::Widen(name));
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_APPEND | _O_BINARY);
  if (fd < 0) {
    CloseHandle(file);
    return nullptr;
  }
  std::FILE* stream = _fdopen(fd, "ab");
  if (!stream) _close(fd);
  return stream;
}

long long FileEnd(std::FILE* file) {
  if (std::fflush(file) != 0) return -1;
  return _lseeki64(_fileno(file), 0, SEEK_END);
}

bool TruncateFile(std::FILE* file, long long size) {
  return std::fflush(file) == 0 && _chsize_s(_fileno(file), size) == 0;
}

bool SeekFile(std::FILE* file, long long offset) {
  return _fseeki64(file, offset, SEEK_SET) == 0;
}

// Windows has no call that forces a folder's entries to disk; NTFS logs a
// new file's name with the rest of its metadata.
bool SyncFile(std::FILE* file, const std::string&, bool) {
  return std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
}

}  // namespace veilbox
