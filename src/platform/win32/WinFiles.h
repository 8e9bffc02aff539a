// Small Windows file helpers shared by the platform layer. Paths are wide
// and handed to the system in their long form (LongPath.h); failures raise
// with the caller's source line.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "platform/Platform.h"

namespace veilbox::win32 {

// The kind of an entry from its attributes and, for a reparse point, its
// tag. Only reparse points that stand for another name (symbolic links,
// junctions, volume mount points) are links; the others (cloud files,
// deduplicated or compressed files and folders) are what they hold.
EntryKind KindOf(DWORD attributes, DWORD reparse_tag);

// The kind of the entry at path itself, never of what a link leads to;
// nullopt, with GetLastError saying why, when it cannot be looked at. A
// reparse point whose tag cannot be read counts as a link.
std::optional<EntryKind> KindAt(const std::wstring& path);

// Calls visit for every entry of the folder, "." and ".." left out, as the
// system reads them, one at a time. Raises when the folder cannot be read.
void VisitEntries(const std::wstring& folder, const std::function<void(const DirEntry&)>& visit,
                  Where where);

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
