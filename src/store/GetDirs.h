// Lists the names in a folder, each followed by ",".
#pragma once

#include <string>

#include "platform/Platform.h"

namespace veilbox {

constexpr int kDirectoryAttribute = 16;

// With filter 16 only sub-folders (not links to folders) are listed; with any
// other filter every entry. Entries marked hidden or system are never listed.
// Names come in the platform's listing order.
std::string GetDirs(Platform& platform, const std::string& folder, int filter,
                    Where where = Where::current());

}  // namespace veilbox
