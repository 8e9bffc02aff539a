// The store-folder list (setting VeilboxHideFolderPath: store-folder paths,
// each followed by "*", one per drive) and the drives of the store folders
// used (setting VeilboxStoreDrives: "folder<drive*" for each). Text exists
// only in Parse and Text; a list read and written unchanged gives back the
// same text.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace veilbox {

// The drive each store folder Veilbox has used was on: a store folder that
// is not there now, remembered on another drive than the one its path lies
// on, is the store folder of a drive that is away.
class StoreDrives {
 public:
  // Entries that are not "folder<drive" are dropped.
  static StoreDrives Parse(const std::string& text);
  std::string Text() const;

  std::optional<std::string> DriveOf(const std::string& folder) const;
  void Remember(const std::string& folder, const std::string& drive);

 private:
  std::vector<std::pair<std::string, std::string>> drives_;
};

class StoreList {
 public:
  // An entry whose "*" was lost still counts.
  static StoreList Parse(const std::string& text);
  // Each entry followed by "*".
  std::string Text() const;

  // The store folders of the list, in order. An entry that is not a full
  // path names no folder Veilbox may reach, and is left out.
  std::vector<std::string> Folders() const;
  // The entries Folders leaves out, each as a sentence saying which and why.
  std::vector<std::string> Unusable() const;

  // Adds folder at the end. Raises when its path holds a character the
  // list cannot keep.
  void Add(const std::string& folder, Where where = Where::current());

  // The store folder serving the drive of path: the last existing entry
  // with the same drive key, else the first such entry not made yet, or
  // nullopt when the drive has none. The store folder of a drive that is
  // away (not mounted) looks like one not made yet on the drive below its
  // mount point: one remembered on another drive serves none, and an
  // existing store folder serves before any that is not there.
  std::optional<std::string> FolderForDrive(Platform& platform, const std::string& path,
                                            const StoreDrives& remembered = {}) const;
  // An entry with the drive key of path that does not exist now, other than
  // serving: a store folder whose drive may be away. nullopt when none.
  std::optional<std::string> MissingFolder(Platform& platform, const std::string& path,
                                           const std::string& serving) const;

 private:
  std::vector<std::string> SameDrive(Platform& platform, const std::string& drive) const;

  std::vector<std::string> entries_;
};

}  // namespace veilbox
