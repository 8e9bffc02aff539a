// The finder's path routines: the form of a folder path it reports, and the
// split of a search path into the folder to walk and the pattern of names.
#pragma once

#include <optional>
#include <string>

#include "platform/Platform.h"

namespace veilbox {

// The path without a trailing separator, unless it is a root ("/", "C:\").
std::string Qualify(const std::string& path, char separator);

struct SearchSpec {
  std::string folder;   // qualified, an existing real folder
  std::string pattern;  // names to list, as a listing selects them
};

// Splits a search path. A path ending in a separator names the folder whose
// every name is listed; otherwise the last part is a name pattern in the
// folder before it, even when it names an existing file or folder. A last
// part that also selects the folder's own "." entry (such as "*") stands for
// the whole folder. nullopt when the folder part is not an existing folder.
std::optional<SearchSpec> FileSpec(Platform& platform, const std::string& init_path);

}  // namespace veilbox
