// Whether a folder overlaps another one: is it, contains it, or lies inside
// it. Folders that overlap a store folder or the program folder cannot be
// listed or chosen as store folders, since a move would then carry one into
// the other.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/PathSeparator.h"
#include "platform/Platform.h"

namespace veilbox {

enum class Overlap { None, Same, Contains, Inside };

// How folder relates to other, compared component by component after "."
// and ".." are resolved in the text (links are not followed); exact,
// case-sensitive. An empty path overlaps nothing.
Overlap CompareFolders(const std::string& folder, const std::string& other,
                       char separator = kPathSeparator);

// A folder that a chosen folder has to keep clear of.
struct GuardedFolder {
  std::string path;
  std::string name;          // how messages name it: "the program folder"
  bool may_hold_it = false;  // the chosen folder may lie inside it
};

// How folder relates to other by what the file system says: the folders
// themselves and those above them compared by identity, so that one folder
// reached by two paths (a bind mount, a link, another letter case) is the
// same folder. None where the text would have to tell (a folder not made
// yet contains nothing).
Overlap CompareFolderIds(const FolderLineage& folder, const FolderLineage& other);

// The first overlap of folder with a guarded folder, by their paths or by
// identity, as a sentence for the user ("/a contains the listed folder
// /a/b."), or nullopt when it is clear.
std::optional<std::string> OverlapProblem(Platform& platform, const std::string& folder,
                                          const std::vector<GuardedFolder>& guarded);

}  // namespace veilbox
