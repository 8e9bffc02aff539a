// Small Windows file helpers shared by the platform layer. Paths are wide;
// failures raise with the caller's source line.
#pragma once

#include <windows.h>

#include <string>

#include "platform/Platform.h"

namespace veilbox::win32 {

// INVALID_FILE_ATTRIBUTES when the entry does not exist or cannot be read.
DWORD Attributes(const std::wstring& path);
// A real folder: not a junction or a symbolic link to one.
bool IsRealFolder(DWORD attributes);

// Writes a temporary file beside path, flushes it to disk and moves it over
// path with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH, so path is
// always either the old or the new content. Raises on failure, leaving the
// old file intact and no temporary file behind.
void WriteAtomically(const std::wstring& path, const std::string& bytes, Where where);

std::string ReadWholeFile(const std::wstring& path, Where where);

// Creates a folder and its missing parents. Raises when a part of the path
// exists but is not a folder.
void MakeFolders(const std::wstring& path, Where where);

}  // namespace veilbox::win32
