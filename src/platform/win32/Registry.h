// Settings as registry values. Values are read the way the settings store
// has always read them: a string (REG_SZ) up to its first NUL; a binary
// value (REG_BINARY) of one or two bytes as the decimal text of a 16-bit
// signed integer; anything else as absent. Strings are written as REG_SZ
// holding the ANSI text with its length in bytes and no terminating NUL.
// Text crosses this interface as ANSI bytes; key paths use "\".
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/Platform.h"

namespace veilbox::win32 {

// nullopt when the key or the value is absent or of another type; raises
// when the key is there but cannot be read.
std::optional<std::string> QueryStringValue(HKEY key, const std::string& name);
std::optional<std::string> ReadRegistryString(HKEY root, const std::string& key_path,
                                              const std::string& name);

// Creates the key and its missing parents; raises when the write fails.
void WriteRegistryString(HKEY root, const std::string& key_path, const std::string& name,
                         const std::string& ansi_data, Where where);

}  // namespace veilbox::win32
