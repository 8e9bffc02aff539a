// Small POSIX file helpers shared by the platform layer.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace veilbox::posix {

// Writes a temporary file beside path, flushes it to disk and renames it over
// path, so path is always either the old or the new content. The new file
// has mode 0600. Raises on failure, leaving the old file intact.
void WriteAtomically(const std::string& path, const std::string& bytes, Where where);

// Whole file content; raises on failure.
std::string ReadWholeFile(const std::string& path, Where where);

// Creates a folder and its missing parents; new folders get the given mode.
void MakeFolders(const std::string& path, unsigned mode, Where where);

}  // namespace veilbox::posix
