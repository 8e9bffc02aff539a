// The store-folder list HideFolderPath: store-folder paths, each followed by
// "*", one per drive.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace veilbox {

// The store folders of the list, in order.
std::vector<std::string> StoreFolders(const std::string& store_list);

// The store folder serving the drive of path: the last entry with the same
// drive key, or nullopt when the drive has none.
std::optional<std::string> StoreFolderForDrive(Platform& platform, const std::string& store_list,
                                               const std::string& path);

// The list with folder added at its end. Raises when the folder's path holds
// a character the list cannot keep.
std::string AddStoreFolder(const std::string& store_list, const std::string& folder,
                           Where where = Where::current());

}  // namespace veilbox
