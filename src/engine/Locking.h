// Lock and unlock of every store folder of the store-folder list.
#pragma once

#include "app/Session.h"

namespace veilbox {

// A store folder that does not exist is skipped; any other failure is
// reported and the other folders are still done. True when all went well.
bool LockStoreFolders(Session& session);
bool UnlockStoreFolders(Session& session);

}  // namespace veilbox
