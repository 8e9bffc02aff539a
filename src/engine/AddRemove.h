// cmdAdd_Click and cmdRemove_Click: which folders the list knows.
#pragma once

#include <vector>

#include "app/AppState.h"
#include "engine/FolderRow.h"

namespace veilbox {

// Asks for a folder (the dialogue's folder chooser, default title) and adds
// a Visible record for it, setting up its drive's store folder first when the
// drive has none. A cancelled chooser changes nothing (rows stay nullopt).
CommandResult AddFolder(AppState& state);

// AddFolder for count folders, the chooser asked count times, in one command:
// the list is written once, at the end.
CommandResult AddFolders(AppState& state, int count);

// Drops the ticked rows, last to first; a hidden folder is restored to its
// place first, and a row whose folder cannot be restored stays.
CommandResult RemoveFolders(AppState& state, const std::vector<FolderRow>& rows);

}  // namespace veilbox
