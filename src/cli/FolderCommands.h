// The commands over the folder list: list, add, hide, restore, remove, and
// lock and unlock of the store folders.
#pragma once

#include "app/AppState.h"
#include "cli/Options.h"
#include "cli/TerminalDialogue.h"

namespace veilbox::cli {

int ListFolders(AppState& state);
int AddFolders(AppState& state, TerminalDialogue& dialogue, const Options& options);
// hide, restore and remove: the named rows, with the store folders unlocked
// while the command works.
int MoveFolders(AppState& state, const Options& options);
int LockStores(AppState& state, bool lock);

}  // namespace veilbox::cli
