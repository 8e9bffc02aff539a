// The store-folder list HideFolderPath: store-folder paths, each followed by
// "*", one per drive.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace veilbox {

// The store folders of the list, in order. An entry that is not a full path
// names no folder Veilbox may reach, and is left out.
std::vector<std::string> StoreFolders(const std::string& store_list);

// The entries of the list that StoreFolders leaves out, each as a sentence
// saying which and why.
std::vector<std::string> UnusableStoreEntries(const std::string& store_list);

// The drive keys of store folders Veilbox has used, "folder<drive*...": a
// store folder that is not there now, remembered on another drive than the
// one its path lies on, is the store folder of a drive that is away.
std::string RememberStoreDrive(const std::string& remembered, const std::string& folder,
                               const std::string& drive);
std::optional<std::string> RememberedDrive(const std::string& remembered,
                                           const std::string& folder);

// The store folder serving the drive of path: the last existing entry with
// the same drive key, else the first such entry not made yet, or nullopt
// when the drive has none. The store folder of a drive that is away (not
// mounted) looks like one not made yet on the drive below its mount point:
// one remembered on another drive serves none, and an existing store folder
// serves before any that is not there.
std::optional<std::string> StoreFolderForDrive(Platform& platform, const std::string& store_list,
                                               const std::string& path,
                                               const std::string& remembered = {});

// An entry with the drive key of path that does not exist now, other than
// serving: a store folder whose drive may be away. nullopt when none.
std::optional<std::string> MissingStoreFolder(Platform& platform, const std::string& store_list,
                                              const std::string& path, const std::string& serving);

// The list with folder added at its end. Raises when the folder's path holds
// a character the list cannot keep.
std::string AddStoreFolder(const std::string& store_list, const std::string& folder,
                           Where where = Where::current());

}  // namespace veilbox
