// fopen for a file named in UTF-8; on Windows through _wfopen, since fopen
// reads the name in the ANSI code page. Sets errno on failure like fopen.
// CommitFile ends a file written as a stream under a temporary name: it is
// forced to disk and takes its real name in one step.
#pragma once

#include <cstdio>
#include <string>

namespace veilbox {

std::FILE* OpenFile(const std::string& name, const char* mode);

// Flushes file to disk and closes it, then renames temp to path, never
// replacing an existing file, and makes the rename itself durable. False
// when a step fails; file is closed either way and temp is left behind.
bool CommitFile(std::FILE* file, const std::string& temp, const std::string& path);

}  // namespace veilbox
