// Renames by path, for files of the program folder: MoveFileEx without
// MOVEFILE_REPLACE_EXISTING, so a rename never replaces anything. Folders
// that a pass works in are moved and renamed through open folders instead.
#include "platform/win32/LongPath.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WinError.h"
#include "platform/win32/WinPlatform.h"

namespace veilbox {
using win32::SystemPath;
using win32::Widen;

MoveResult WinPlatform::Rename(const std::string& old_path, const std::string& new_path) {
  if (MoveFileExW(SystemPath(Widen(old_path)).c_str(), SystemPath(Widen(new_path)).c_str(),
                  MOVEFILE_WRITE_THROUGH)) {
    return {true, ""};
  }
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
    return {false, new_path + " already exists"};
  }
  return {false, win32::Win32Message(error)};
}

}  // namespace veilbox
