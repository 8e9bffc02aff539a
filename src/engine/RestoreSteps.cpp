#include "engine/RestoreSteps.h"

#include "diag/Failure.h"
#include "engine/FilenamePass.h"
#include "engine/FolderGuards.h"
#include "engine/FolderMove.h"
#include "engine/Journal.h"
#include "engine/Messages.h"
#include "engine/StoreName.h"
#include "engine/StoreSetup.h"
#include "store/FolderOverlap.h"
#include "store/StoreList.h"
#include "store/TextUtil.h"

namespace veilbox {
namespace {

// A folder to restore into, held open, and its path ending in the separator.
struct Place {
  std::unique_ptr<OpenFolder> folder;
  std::string path;
};

// Why the folder name cannot be restored into place: it would lie in a
// store folder or the program folder, or overlap another listed folder.
std::optional<std::string> PlaceProblem(AppState& state, const std::string& place,
                                        const FolderRecord& record) {
  const std::string folder = JoinPath(place, record.name);
  if (auto problem = ListedFolderProblem(state, folder)) return problem;
  std::vector<GuardedFolder> listed;
  for (const std::string& other : ListedFolders(state.HiddenFolderData)) {
    if (other != record.path + record.name) listed.push_back({other, "the listed folder"});
  }
  return OverlapProblem(state.platform, folder, listed);
}

// The relocation dialogue, asked with question: a folder on the place's
// drive chosen by the user and opened without following links; nullopt when
// declined.
std::optional<Place> ChooseNewPlace(AppState& state, const FolderRecord& record,
                                    const std::string& question) {
  const std::string& place = record.path;
  if (state.dialogue.Ask(question, "Restore", Icon::Information, Buttons::YesNoCancel) !=
      Answer::Yes) {
    return std::nullopt;
  }
  const std::string drive = state.platform.DriveKey(place);
  for (;;) {
    std::string chosen = state.dialogue.ChooseFolder(msg::kChooseRestoreTitle);
    std::string again = msg::NotOnDrive(drive);
    if (!chosen.empty() && state.platform.DriveKey(chosen) == drive) {
      OpenedFolder opened = state.platform.OpenFolderNoLinks(chosen);
      std::optional<std::string> problem = PlaceProblem(state, chosen, record);
      if (opened.folder && !problem) return Place{std::move(opened.folder), JoinPath(chosen, "")};
      again = msg::ChosenPlaceUnusable(problem ? problem->substr(0, problem->size() - 1)
                                               : opened.reason);
    }
    if (state.dialogue.Ask(again, "Folder", Icon::Question, Buttons::YesNoCancel) != Answer::Yes) {
      return std::nullopt;
    }
  }
}

// The record's own place, or the one the user chooses when it is gone or
// cannot be used (a link on the way, no access).
std::optional<Place> PlaceFor(AppState& state, const FolderRecord& record) {
  OpenedFolder opened = state.platform.OpenFolderNoLinks(record.path);
  if (opened.folder) return Place{std::move(opened.folder), record.path};
  return ChooseNewPlace(state, record,
                        opened.missing ? msg::PlaceGone(record.path, record.actual)
                                       : msg::PlaceUnusable(opened.reason, record.actual));
}

}  // namespace

RestoreResult RestoreFolder(AppState& state, cEncrypt& cipher, const FoundRecord& found,
                            RestoreUse use) {
  const FolderRecord& record = found.record;
  Platform& p = state.platform;
  std::optional<std::string> store = StoreFolderOf(state, record.path);
  if (!store) {
    if (use == RestoreUse::Remove) {
      state.dialogue.Tell(record.path + record.name +
                              " stays in the list: its drive has no hidden/locked folder, so " +
                              record.actual +
                              " cannot be restored. Add the folder again in "
                              "Preferences first.",
                          "Remove");
    } else {
      state.dialogue.Tell(msg::NotInStore(record.actual), "Restore");
    }
    return {RowOutcome::Declined};
  }
  const std::string stored = JoinPath(*store, record.actual);

  // Only a store folder that can be read and lacks the entry proves that
  // nothing is left to restore; a store folder that cannot be reached keeps
  // the row as it is.
  HeldFolder held;
  try {
    held.parent = OpenFolderAt(p, *store);
    if (!held.parent->ChildId(record.actual)) {
      // Another store folder of the drive that is not there now may be the
      // one that holds it, on a drive that is away.
      if (auto away = MissingStoreFolder(p, state.HideFolderPath, record.path, *store)) {
        state.dialogue.Tell(msg::StoreAway(record.name, *away),
                            use == RestoreUse::Remove ? "Remove" : "Restore", Icon::Exclamation);
        return {RowOutcome::Failed};
      }
      if (use == RestoreUse::Remove) return {RowOutcome::Done, std::nullopt, true};
      state.dialogue.Tell(msg::NotInStore(record.actual), "Restore");
      return {RowOutcome::Declined};
    }
    held.name = record.actual;
    held.folder = held.parent->OpenChild(record.actual);
  } catch (const Failure& f) {
    state.dialogue.Tell(msg::StoreUnreachable(*store, f.Description()),
                        use == RestoreUse::Remove ? "Remove" : "Restore", Icon::Exclamation);
    return {RowOutcome::Failed};
  }
  if (auto mounted = MountInsideProblem(p, stored)) {
    TellMoveFailed(state, stored, *mounted);
    return {RowOutcome::Failed};
  }

  std::optional<Place> place = PlaceFor(state, record);
  if (!place) return {RowOutcome::Declined};
  // The folder arrives under its own name. Where a folder of that name
  // already stands, it arrives beside it under a free name instead of being
  // merged into it.
  std::string name = record.name;
  if (place->folder->ChildId(name)) {
    if (state.dialogue.Ask(msg::AlreadyThere(name), "Exists", Icon::Question,
                           Buttons::YesNoCancel) != Answer::Yes) {
      return {RowOutcome::Declined};
    }
    name = FindFreeName(*place->folder, name).name;
  }
  const std::string target = place->path + name;
  FolderRecord restored = record;
  restored.name = name;
  restored.path = place->path;
  restored.status = kVisible;
  restored.actual = name;
  JournalWriter journal(state);
  PlanSummary plan;
  if (record.encryption == kEncrypted) {
    plan = PlanPlainNames(state, cipher, *held.folder, stored, journal);
    // Files that cannot be found cannot get their names back: the folder
    // stays hidden rather than come back with cipher names in it.
    if (!plan.complete) {
      TellMoveFailed(state, stored,
                     !plan.other_drive.empty()
                         ? msg::HoldsMount(stored, plan.other_drive)
                         : "Not every file in it can be read, so it was not restored and stays "
                           "hidden. Make every folder in it readable and restore it again.");
      return {RowOutcome::Failed};
    }
    // A stand-in whose side file is missing or damaged keeps its name, and
    // the row its "Encrypted" mark, as for a rename that fails.
    if (plan.stand_ins_kept == 0) restored.encryption = kNormal;
  }

  journal.Commit({use == RestoreUse::Remove ? "remove" : "restore", found.text,
                  use == RestoreUse::Remove ? "" : restored.Text(), stored, target, plan,
                  held.folder->Id()});
  if (MoveResult moved = MoveHeldFolder(held, std::move(place->folder), name); !moved) {
    journal.Withdraw();
    TellMoveFailed(state, stored, moved.reason);
    return {RowOutcome::Failed};
  }
  if (auto known = state.StoreMemos.find(*store); known != state.StoreMemos.end()) {
    known->second.taken.erase(FoldedName(record.actual));
  }
  if (name != record.name) {
    state.dialogue.Tell(record.name + " was restored as " + name + " because " + record.name +
                            " already exists in " + place->path + ".",
                        "Restore");
  }

  RowOutcome outcome = RowOutcome::Done;
  if (plan.stand_ins_kept > 0) {
    TellMoveFailed(state, plan.first_kept,
                   std::to_string(plan.stand_ins_kept) +
                       " files kept their stand-in names: their names cannot be read back.");
    outcome = RowOutcome::Failed;
  }
  RenameOutcome renamed;
  if (plan.renames > 0) {
    JournalPlan names(state, journal.Offset());
    renamed = RenameFiles(state, *held.folder, target, names, plan.renames);
  }
  if (renamed.failed > 0) {
    // The record keeps its "Encrypted" mark, so that check --repair may
    // finish the names.
    TellMoveFailed(state, renamed.first_failure,
                   std::to_string(renamed.failed) +
                       " file names kept their encrypted form; \"veilbox-cli check --repair\" "
                       "can finish them.");
    restored.encryption = record.encryption;
    if (use == RestoreUse::Restore) journal.Amend(restored.Text());
    outcome = RowOutcome::Failed;
  }
  return {outcome, restored};
}

}  // namespace veilbox
