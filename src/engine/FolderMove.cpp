#include "engine/FolderMove.h"

#include "diag/Failure.h"
#include "engine/FilenamePass.h"
#include "store/TextUtil.h"

namespace veilbox {
namespace {

constexpr const char* kSwapped =
    " was replaced by another entry while Veilbox worked on it, so it was left alone";

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
    MoveResult moved = held.parent->MoveChild(held.name, *target, new_name);
    if (!moved) return moved;
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
  } catch (const Failure& f) {
    return {false, f.Description()};
  }
  // Whatever arrived in its place goes back where it came from.
  MoveResult back = target->MoveChild(new_name, *held.parent, held.name);
  return {false, held.name + kSwapped +
                     (back ? "" : "; the entry that arrived instead could not be put back")};
}

}  // namespace veilbox
