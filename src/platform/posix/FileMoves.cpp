// Renames by path, for files of the program folder. Folders that a pass
// works in are moved and renamed through open folders instead.
#include <fcntl.h>

#include <cstring>

#include "platform/posix/PosixFiles.h"
#include "platform/posix/PosixPlatform.h"

namespace veilbox {

MoveResult PosixPlatform::Rename(const std::string& old_path, const std::string& new_path) {
  const int error_code = posix::RenameNoReplaceAt(AT_FDCWD, old_path, AT_FDCWD, new_path);
  if (error_code == 0) return {true, ""};
  if (error_code == EEXIST || error_code == ENOTEMPTY) return {false, new_path + " already exists"};
  return {false, std::strerror(error_code)};
}

}  // namespace veilbox
