// Small POSIX file helpers shared by the platform layer.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace veilbox::posix {

// Writes a temporary file beside path, flushes it to disk and renames it over
// path, so path is always either the old or the new content. The new file
// has mode 0600. Raises on failure, leaving the old file intact.
void WriteAtomically(const std::string& path, const std::string& bytes, Where where);

// Writes all bytes, resuming after interruptions and short writes; false
// with errno set when it cannot.
bool WriteAll(int fd, const std::string& bytes);

// Whole file content; raises on failure.
std::string ReadWholeFile(const std::string& path, Where where);

// Creates a folder and its missing parents; new folders get the given mode.
void MakeFolders(const std::string& path, unsigned mode, Where where);

// The kind of entry a stat mode describes.
EntryKind KindOf(mode_t mode);

// The entries of an open directory, "." and ".." left out, in name order.
// Takes over fd and closes it; path names the folder in messages.
std::vector<DirEntry> ListOpenDirectory(int fd, const std::string& path, Where where);
// The same entries in directory order, one at a time, read as a stream.
void VisitOpenDirectory(int fd, const std::string& path,
                        const std::function<void(const DirEntry&)>& visit, Where where);

// Renames an entry relative to two directory descriptors (AT_FDCWD for
// plain paths) without replacing an existing entry: 0, or the errno value.
int RenameNoReplaceAt(int from_dir, const std::string& from, int to_dir, const std::string& to);

}  // namespace veilbox::posix
