#include "platform/win32/SystemInfo.h"

#include "platform/Codec.h"
#include "platform/win32/KeyValue.h"
#include "platform/win32/LongPath.h"
#include "platform/win32/WideText.h"

namespace veilbox::win32 {

std::optional<std::string> SystemInfoProgram(HKEY root) {
  std::string path;
  if (GetKeyValue(root, kMsInfoKey, "PATH", path)) return FromAnsi(path);
  if (!GetKeyValue(root, kSharedToolsKey, "MSINFO", path)) return std::nullopt;
  const std::string program = FromAnsi(path) + "\\MSINFO32.EXE";
  const DWORD attributes = GetFileAttributesW(SystemPath(Widen(program)).c_str());
  const DWORD not_normal = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & not_normal)) return std::nullopt;
  return program;
}

}  // namespace veilbox::win32
