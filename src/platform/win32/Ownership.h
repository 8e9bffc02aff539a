// Who owns a folder, and folders that only their maker can enter.
#pragma once

#include <string>

namespace veilbox::win32 {

// Whether the entry at path (a reparse point itself, never its target) is
// owned by the user this process runs as, or by a group the process acts
// for (Administrators, when elevated). True when the owner cannot be read.
bool OwnedByCurrentUser(const std::wstring& path);

// Creates a folder whose access list gives the user this process runs as
// and the system full control and nobody else, passed on to everything made
// inside it. False, with GetLastError set, when it could not be made.
bool CreatePrivateDirectory(const std::wstring& path);

}  // namespace veilbox::win32
