// The about box's own registry reader (GetKeyValue): opens the key with the
// access mask 0x2003F and reads the value as ANSI text through a buffer of
// 1024 bytes. A last byte that is NUL is dropped, so a string written with
// its terminating NUL loses it and one written without it stays whole.
#pragma once

#include <windows.h>

#include <string>

namespace veilbox::win32 {

constexpr REGSAM kKeyValueAccess = 0x2003F;

// True when the value was read; value then holds the text of a REG_SZ value
// (ANSI bytes) and is empty for other types. False, with value empty, when
// the key cannot be opened with that access or the value cannot be read.
bool GetKeyValue(HKEY root, const std::string& key_name, const std::string& value_name,
                 std::string& value);

}  // namespace veilbox::win32
