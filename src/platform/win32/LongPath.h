// Paths handed to the system in their "\\?\" form, which no 260-character
// limit applies to. Such a path is taken as it is: the system neither
// completes it from the current folder nor reads "/", "." or ".." in it, so
// it is made whole first.
#pragma once

#include <string>

namespace veilbox::win32 {

// The longest path the system takes in its "\\?\" form, in UTF-16 units
// with the terminating NUL.
constexpr size_t kLongestSystemPath = 32767;

// The full path with the prefix: "\\?\C:\Work" for "C:\Work" (or "C:/Work",
// or a path relative to the current folder), "\\?\UNC\server\share\Work"
// for "\\server\share\Work". A path already in that form stays as it is.
std::wstring SystemPath(const std::wstring& path);

// The path as users write it: the prefix taken off again.
std::wstring UserPath(const std::wstring& path);

}  // namespace veilbox::win32
