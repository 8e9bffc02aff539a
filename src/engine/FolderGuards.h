// What may be listed and what may serve as a store folder: a move must never
// carry a store folder or the program folder along, or into itself.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/Session.h"

namespace veilbox {

// Why folder cannot be listed (a character the list cannot keep, or an
// overlap with the program folder, the settings folder or a store folder),
// or nullopt.
std::optional<std::string> ListedFolderProblem(Session& session, const std::string& folder);

// Why folder cannot be a store folder: a character the list cannot keep, a
// reserved place (StorePlace.h), it is or holds the program folder, it
// overlaps another store folder or a listed folder, or the file system
// refuses it (StorePlace.h). nullopt when it may.
std::optional<std::string> StoreFolderProblem(Session& session, const std::string& folder,
                                              const std::vector<std::string>& other_stores,
                                              const std::vector<std::string>& listed_folders);

// The own places of the folders of the list.
std::vector<std::string> ListedFolders(const FolderList& list);

}  // namespace veilbox
