// Settings kept in a JSON file: an object per key path ("SOFTWARE\\TK")
// holding string values under their own names. A damaged file reads as empty
// and is kept aside as settings.json.bad-<time> before a new one is written;
// a file that cannot be read raises, and is never replaced.
#pragma once

#include <optional>
#include <string>

#include "platform/Platform.h"

namespace veilbox::posix {

std::optional<std::string> ReadSettingValue(const std::string& file, const std::string& key_path,
                                            const std::string& name);
void WriteSettingValue(const std::string& file, const std::string& key_path,
                       const std::string& name, const std::string& data, Where where);

}  // namespace veilbox::posix
