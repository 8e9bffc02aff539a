// Where the system-information program is on Windows, as the about box
// looks for it: the "PATH" value of the machine's MSINFO key, else
// MSINFO32.EXE in the folder named by the "MSINFO" value of the shared
// tools' location key, when it is a normal file there (not hidden, not
// system). Both are read with GetKeyValue.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace veilbox::win32 {

constexpr const char* kMsInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kSharedToolsKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

// The program's full path (UTF-8), or nullopt: the "unavailable" message.
// The root is HKEY_LOCAL_MACHINE; tests pass a key of their own.
std::optional<std::string> SystemInfoProgram(HKEY root = HKEY_LOCAL_MACHINE);

}  // namespace veilbox::win32
