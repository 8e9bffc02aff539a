// The folder list on disk: Dat.sys read into the session's FolderList and
// written from it (store/FolderDatabase, store/FolderList).
#pragma once

#include "app/Session.h"

namespace veilbox {

// Writes session.folders to Dat.sys; a failure is reported and false
// returned.
bool SaveFolders(Session& session);

}  // namespace veilbox
