// Locking and unlocking a store folder with the system's access-control
// tool: cacls.exe edits the folder's access list to deny the local Users
// group all access, or to grant it full control.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace veilbox::win32 {

// windows_folder\System32\cacls.exe "folder" /E /D USERS      (lock)
// windows_folder\System32\cacls.exe "folder" /E /G USERS:F    (unlock)
std::string CaclsCommandLine(const std::string& windows_folder, const std::string& folder,
                             bool lock);

// Starts a command line with a hidden window and no console of its own,
// waits up to wait_ms for it to end and lets it run on after that. Its exit
// code is not looked at. Raises when it cannot be started.
void StartHidden(const std::string& command_line, unsigned long wait_ms, Where where);

}  // namespace veilbox::win32
