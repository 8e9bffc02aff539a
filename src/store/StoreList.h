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

// The store folder serving the drive of path: the last existing entry with
// the same drive key, else the first such entry not made yet, or nullopt
// when the drive has none. The store folder of a drive that is away (not
// mounted) looks like one not made yet on the drive below its mount point:
// an existing store folder, or the drive's own one listed before it, must
// keep serving rather than it.
std::optional<std::string> StoreFolderForDrive(Platform& platform, const std::string& store_list,
                                               const std::string& path);

// An entry with the drive key of path that does not exist now, other than
// serving: a store folder whose drive may be away. nullopt when none.
std::optional<std::string> MissingStoreFolder(Platform& platform, const std::string& store_list,
                                              const std::string& path, const std::string& serving);

// The list with folder added at its end. Raises when the folder's path holds
// a character the list cannot keep.
std::string AddStoreFolder(const std::string& store_list, const std::string& folder,
                           Where where = Where::current());

}  // namespace veilbox
