// Who owns a folder, and folders that only their maker can enter.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace veilbox::win32 {

// Whether the entry at path (a reparse point itself, never its target) is
// owned by the user this process runs as, or by a group the process acts
// for (Administrators, when elevated). True when the owner cannot be read.
bool OwnedByCurrentUser(const std::wstring& path);

// Why the entry at path (a reparse point itself, never its target) may not
// hold Veilbox's data, as a phrase, or nullopt: a reparse point, another
// user's, or its access list lets another account change it (the user, the
// system and the Administrators may). nullopt when it does not exist.
std::optional<std::string> NotPrivateEntry(const std::wstring& path);

// Gives the entry at path an access list of its own (nothing inherited)
// that lets only the user and the system reach it. False, with
// GetLastError set, when it could not.
bool MakePrivateEntry(const std::wstring& path);

// Opens a file for appending, made with, or given, that private access
// list. INVALID_HANDLE_VALUE, with GetLastError set, when it could not.
HANDLE OpenPrivateFileForAppend(const std::wstring& path);

// Creates a folder whose access list gives the user this process runs as
// and the system full control and nobody else, passed on to everything made
// inside it. False, with GetLastError set, when it could not be made.
bool CreatePrivateDirectory(const std::wstring& path);

}  // namespace veilbox::win32
