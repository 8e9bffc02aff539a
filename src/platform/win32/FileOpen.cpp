#include "platform/FileOpen.h"

#include <io.h>
#include <windows.h>

#include "platform/win32/WideText.h"

namespace veilbox {

std::FILE* OpenFile(const std::string& name, const char* mode) {
  return _wfopen(win32::Widen(name).c_str(), win32::Widen(mode).c_str());
}

bool CommitFile(std::FILE* file, const std::string& temp, const std::string& path) {
  const bool synced = std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
  if (std::fclose(file) != 0 || !synced) return false;
  return MoveFileExW(win32::Widen(temp).c_str(), win32::Widen(path).c_str(),
                     MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace veilbox
