// The folder database in the process's state: HiddenFolderData in memory,
// read from and written to Dat.sys (store/FolderDatabase).
#pragma once

#include <optional>
#include <vector>

#include "app/AppState.h"
#include "store/FolderRecord.h"

namespace veilbox {

// Writes HiddenFolderData to Dat.sys; a failure is reported and false
// returned.
bool SaveFolders(AppState& state);

// Fills HiddenFolderData from Dat.sys and returns the rows the folder list
// shows. nullopt when the list keeps what it shows: no file, or a failure
// before anything was read (reported).
std::optional<std::vector<ListRow>> LoadDataFile(AppState& state);

}  // namespace veilbox
