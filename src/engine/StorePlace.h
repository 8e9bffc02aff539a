// Where a store folder may be. Locking a store folder shuts everything in it
// away, so it must be a real folder of the user's own that holds nothing but
// what Veilbox put there, and never a place the system or the user's other
// programs need.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace veilbox {

// The store folder's staging sub-folder.
constexpr const char* kTempFolderName = "temp";

// Why folder is reserved, as a sentence naming it, or nullopt: it is the
// top of a drive, a system folder or inside one, or the home folder or holds
// it. Judged on the path's text.
std::optional<std::string> ReservedPlaceProblem(Platform& platform, const std::string& folder);

// Why the file system keeps folder from being a store folder, as a sentence
// naming it, or nullopt: a link on its path, not a real folder of the
// user's, or it holds what Veilbox did not put there. A folder that does
// not exist yet needs a real folder to be made in.
std::optional<std::string> StorePlaceProblem(Platform& platform, const std::string& folder);

// Why a store folder of the list may not serve: ReservedPlaceProblem, then
// StorePlaceProblem.
std::optional<std::string> ListedStoreProblem(Platform& platform, const std::string& folder);

// Whether a store folder's entries are what Veilbox puts there: its "temp"
// folder, and nothing but folders.
bool MadeByVeilbox(const std::vector<DirEntry>& entries);

}  // namespace veilbox
