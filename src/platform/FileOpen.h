// fopen for a file named in UTF-8; on Windows through _wfopen, since fopen
// reads the name in the ANSI code page. Sets errno on failure like fopen.
// The other calls serve a file that grows in place (the journal): its end,
// cutting it back, forcing it to disk.
#pragma once

#include <cstdio>
#include <string>

namespace veilbox {

std::FILE* OpenFile(const std::string& name, const char* mode);
// Opens a file for appending in binary, made readable and writable by the
// user alone (mode 0600, or a private access list) whatever the umask, and
// whether it is new or was there already.
std::FILE* OpenPrivateForAppend(const std::string& name);

// The size of file, counting what is still buffered; -1 on failure.
long long FileEnd(std::FILE* file);
// Cuts file back to size bytes; false on failure.
bool TruncateFile(std::FILE* file, long long size);
// Moves file's read position to offset; false on failure.
bool SeekFile(std::FILE* file, long long offset);
// Forces file's data to disk, and with new_file its name in its folder too
// (path names it); false on failure.
bool SyncFile(std::FILE* file, const std::string& path, bool new_file);

}  // namespace veilbox
