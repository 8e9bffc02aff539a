// Text bound for the terminal. Names come from the file system, where
// another account may have made them, and may hold any byte but "/": a
// control character among them (an escape sequence) would drive the
// terminal. Every C0 control, DEL and C1 control is written as an escape
// ("\x1b"), as is each byte that is not part of UTF-8 text.
#pragma once

#include <string>
#include <string_view>

namespace veilbox::cli {

// A name, or a line of output, kept on one line: tab, line feed and
// carriage return become "\t", "\n" and "\r", and where names may hold a
// backslash (Linux) it becomes "\\", so that a backslash always begins an
// escape.
std::string OneLine(std::string_view text, char separator);

// A message: its line ends stay line ends ("\r\n" becomes "\n"); every
// other control character is escaped.
std::string ForTerminal(std::string_view message);

}  // namespace veilbox::cli
