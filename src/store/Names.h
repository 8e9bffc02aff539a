// What a name or a path read back from disk must be before Veilbox uses it
// to reach a file: Dat.sys, the journal and the settings are files that
// anything with the user's rights could have written, so a name in them is
// checked to be one entry of one folder and a path to be a full path.
#pragma once

#include <optional>
#include <string>

#include "platform/PathSeparator.h"

namespace veilbox {

// Why name cannot be the name of one entry in a folder, as a phrase ("is
// empty", "holds \"/\""), or nullopt: empty, "." or "..", a separator in it
// (on Windows also "/" or ":", or a device name such as "NUL").
std::optional<std::string> NameProblem(const std::string& name, char separator = kPathSeparator);

// Why path is not a full path, as a phrase, or nullopt: it must start at the
// top of a drive ("/", "C:\", "\\server\share\") and hold no "." or ".."
// part.
std::optional<std::string> FullPathProblem(const std::string& path,
                                           char separator = kPathSeparator);

// Why a folder path below another folder ("" for that folder, parts joined
// by the separator) is not one: each part must be a name.
std::optional<std::string> RelativePathProblem(const std::string& path,
                                               char separator = kPathSeparator);

}  // namespace veilbox
