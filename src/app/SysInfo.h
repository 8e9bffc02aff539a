// The system-information program the about box starts: on Linux the first of
// a few well-known programs that is installed.
#pragma once

#include <optional>
#include <string>

namespace veilbox {

constexpr const char* kSysInfoUnavailable = "System Information Is Unavailable At This Time";

// The full path of the first of hardinfo, kinfocenter and gnome-system-monitor
// found as an executable file in a folder of path_list (a PATH value, folders
// separated by ":"); nullopt when none is. Empty entries are skipped rather
// than read as the current folder.
std::optional<std::string> FindSystemInfoProgram(const std::string& path_list);

}  // namespace veilbox
