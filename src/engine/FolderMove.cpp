#include "engine/FolderMove.h"

#include "diag/Failure.h"
#include "engine/FilenamePass.h"
#include "store/TextUtil.h"

namespace veilbox {
namespace {

constexpr const char* kSwapped =
    " was replaced by another entry while Veilbox worked on it, so it was left alone";

// Whether folder lies directly in parent now, by the identity of its own
// "..", which goes with the folder wherever it is moved.
bool LiesIn(OpenFolder& folder, const OpenFolder& parent) {
  try {
    return folder.ChildId("..") == parent.Id();
  } catch (const Failure&) {
    return false;
  }
}

}  // namespace

HeldFolder HoldFolder(Platform& platform, const std::string& parent_path, const std::string& name,
                      Where where) {
  HeldFolder held{OpenFolderAt(platform, parent_path, where), name, nullptr};
  try {
    held.folder = held.parent->OpenChild(name, where);
  } catch (const Failure& f) {
    const bool missing = !held.parent->ChildId(name, where);
    Raise(missing ? err::kPathNotFound : f.Number(), f.Description(), where);
  }
  return held;
}

MoveResult MoveHeldFolder(HeldFolder& held, std::unique_ptr<OpenFolder> target,
                          const std::string& new_name) {
  const EntryId id = held.folder->Id();
  try {
    if (held.parent->ChildId(held.name) != id) return {false, held.name + kSwapped};
  } catch (const Failure& f) {
    return {false, f.Description()};
  }
  MoveResult moved = held.parent->MoveChild(held.name, *target, new_name);
  if (!moved) return moved;
  try {
    if (target->ChildId(new_name) == id) {
      // Opened again at its new place, which is the same folder: a handle
      // whose path the system does not follow through renames (as under
      // Wine) must not go on working at the old place.
      std::unique_ptr<OpenFolder> arrived = target->OpenChild(new_name);
      if (arrived->Id() == id) {
        held.folder = std::move(arrived);
        held.parent = std::move(target);
        held.name = new_name;
        return moved;
      }
    }
  } catch (const Failure&) {
    // Told below by where the held folder lies.
  }
  // In a folder others may write to, the folder can be given another name
  // there the moment it arrives. It has arrived all the same, and the entry
  // that took its name is not the one that moved: it stays where it is.
  if (LiesIn(*held.folder, *target)) {
    held.parent = std::move(target);
    held.name = new_name;
    return moved;
  }
  // Whatever arrived in its place goes back where it came from.
  MoveResult back = target->MoveChild(new_name, *held.parent, held.name);
  return {false, held.name + kSwapped +
                     (back ? "" : "; the entry that arrived instead could not be put back")};
}

}  // namespace veilbox
