// The store set-up dialogue: gives a drive without a store folder one, chosen
// by the user on that drive.
#pragma once

#include <string>

#include "app/Session.h"

namespace veilbox {

// Gives the drive of folder a store folder: asks whether to set one up (as
// adding a folder asks it, for_add, or as hiding one does); on Yes lets the
// user choose a folder on the drive (again while they want to) and adds it
// to the store-folder list and the settings. False when the user declined,
// the choice overlaps folder or a listed folder, or the list could not be
// stored; HideFolderPath is then unchanged.
bool RunStoreSetup(Session& session, const std::string& folder, bool for_add);

// The store folder serving the drive of path, when the list has one.
std::optional<std::string> StoreFolderOf(Session& session, const std::string& path);

// Creates the store folder and its "temp" sub-folder when missing, private to
// the user from the first moment. Raises when the store folder's parent is
// missing (a store folder on a drive that is not there must not be made on
// another one) and, before anything is made, when the store folder may not
// serve (StorePlace.h). Remembers the store folder's drive (StoreList.h).
void EnsureStoreFolder(Session& session, const std::string& store);

// A store folder held open for a row's move, and what the running command
// knows of the names in it.
struct OpenedStore {
  std::unique_ptr<OpenFolder> folder;  // null when it cannot be opened
  std::string reason;                  // why not
  StoreMemo* memo = nullptr;           // session.store_memos' entry for it
};

// The store folder, made and judged by EnsureStoreFolder (and raising as it
// does) unless the running command already judged this very folder; then
// opened without following links. Its names are listed once per command:
// each row's move into it or out of it is noted in the memo instead.
OpenedStore OpenStoreFolder(Session& session, const std::string& store);

}  // namespace veilbox
