// Failed Windows API calls, raised as Failures with the error numbers the
// rest of the program uses and the system's own description.
#pragma once

#include <windows.h>

#include <string>

#include "platform/Platform.h"

namespace veilbox::win32 {

long ErrorNumberFromWin32(DWORD code);
std::string Win32Message(DWORD code);
[[noreturn]] void RaiseWin32(DWORD code, const std::string& what, Where where);

}  // namespace veilbox::win32
