// The one move of a row. The folder is held open from the moment it is
// looked at, and the move is checked by identity: what arrives must be the
// folder that was held, not something that took its name meanwhile.
#pragma once

#include <memory>
#include <string>

#include "platform/Platform.h"

namespace veilbox {

struct HeldFolder {
  std::unique_ptr<OpenFolder> parent;  // the folder it stands in
  std::string name;                    // its name there
  std::unique_ptr<OpenFolder> folder;  // the folder itself
};

// Opens parent_path and the folder name inside it, neither through a link.
// Raises, saying why, when either cannot be opened; the number is
// err::kPathNotFound when something on the way does not exist.
HeldFolder HoldFolder(Platform& platform, const std::string& parent_path, const std::string& name,
                      Where where = Where::current());

// Moves the held folder into target under new_name. When the entry that
// moved is not the held folder (it was swapped while the row ran), it is
// moved back and the move fails; held then names the folder's old place
// still. On success held names the new place, even where another program
// has already renamed the folder inside target: the held folder itself is
// what every later step works on.
MoveResult MoveHeldFolder(HeldFolder& held, std::unique_ptr<OpenFolder> target,
                          const std::string& new_name);

}  // namespace veilbox
