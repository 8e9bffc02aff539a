// fopen for a file named in UTF-8; on Windows through _wfopen, since fopen
// reads the name in the ANSI code page. Sets errno on failure like fopen.
#pragma once

#include <cstdio>
#include <string>

namespace veilbox {

std::FILE* OpenFile(const std::string& name, const char* mode);

}  // namespace veilbox
