// Text to and from the system's single-byte (ANSI) code page, used wherever
// text is stored in Dat.sys or the settings or goes through the cipher. On
// Linux the bytes are the UTF-8 bytes unchanged.
#pragma once

#include <string>

namespace veilbox {

std::string ToAnsi(const std::string& text);
std::string FromAnsi(const std::string& bytes);

}  // namespace veilbox
