// stores, stores add, stores edit and stores remove: the store-folder list,
// changed under the same rules as in the preferences window.
#pragma once

#include "app/Session.h"
#include "cli/Options.h"
#include "cli/TerminalDialogue.h"

namespace veilbox::cli {

int StoresCommand(Session& session, TerminalDialogue& dialogue, const Options& options);

}  // namespace veilbox::cli
