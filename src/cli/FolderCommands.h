// The commands over the folder list: list, add, hide, restore, remove, and
// lock and unlock of the store folders.
#pragma once

#include "app/Session.h"
#include "cli/Options.h"
#include "cli/TerminalDialogue.h"

namespace veilbox::cli {

int ListFolders(Session& session);
int AddFolders(Session& session, TerminalDialogue& dialogue, const Options& options);
// hide, restore and remove: the named rows, with the store folders unlocked
// while the command works.
int MoveFolders(Session& session, const Options& options);
int LockStores(Session& session, bool lock);

}  // namespace veilbox::cli
