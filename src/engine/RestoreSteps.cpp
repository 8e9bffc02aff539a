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
std::optional<std::string> PlaceProblem(Session& session, const std::string& place,
                                        const FolderRecord& record) {
  const std::string folder = JoinPath(place, record.name);
  if (auto problem = ListedFolderProblem(session, folder)) return problem;
  std::vector<GuardedFolder> listed;
  for (const std::string& other : ListedFolders(session.folders)) {
    if (other != record.path + record.name) listed.push_back({other, "the listed folder"});
  }
  return OverlapProblem(session.platform, folder, listed);
}

// The relocation dialogue, asked with question: a folder on the place's
// drive chosen by the user and opened without following links; nullopt when
// declined.
std::optional<Place> ChooseNewPlace(Session& session, const FolderRecord& record,
                                    const ask::RestoreElsewhere& question) {
  const std::string& place = record.path;
  if (session.dialogue.Ask(question) != Answer::Yes) return std::nullopt;
  const std::string drive = session.platform.DriveKey(place);
  for (;;) {
    std::string chosen = session.dialogue.ChooseFolder(FolderChoice::RestorePlace);
    ask::ChooseRestoreAgain again{drive, ""};
    if (!chosen.empty() && session.platform.DriveKey(chosen) == drive) {
      OpenedFolder opened = session.platform.OpenFolderNoLinks(chosen);
      std::optional<std::string> problem = PlaceProblem(session, chosen, record);
      if (opened.folder && !problem) return Place{std::move(opened.folder), JoinPath(chosen, "")};
      again.unusable = problem ? problem->substr(0, problem->size() - 1) : opened.reason;
    }
    if (session.dialogue.Ask(again) != Answer::Yes) return std::nullopt;
  }
}

// The record's own place, or the one the user chooses when it is gone or
// cannot be used (a link on the way, no access).
std::optional<Place> PlaceFor(Session& session, const FolderRecord& record) {
  OpenedFolder opened = session.platform.OpenFolderNoLinks(record.path);
  if (opened.folder) return Place{std::move(opened.folder), record.path};
  return ChooseNewPlace(session, record,
                        {record.actual, record.path, opened.missing, opened.reason});
}

}  // namespace

RestoreResult RestoreFolder(Session& session, cEncrypt& cipher, size_t row, RestoreUse use) {
  const FolderRecord record = session.folders[row];
  Platform& p = session.platform;
  std::optional<std::string> store = StoreFolderOf(session, record.path);
  if (!store) {
    if (use == RestoreUse::Remove) {
      return {Refuse(session,
                     record.path + record.name +
                         " stays in the list: its drive has no hidden/locked folder, so " +
                         record.actual +
                         " cannot be restored. Add the folder again in Preferences first.",
                     "Remove", Icon::Information)};
    }
    return {Refuse(session, msg::NotInStore(record.actual), "Restore", Icon::Information)};
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
      if (auto away = session.stores.MissingFolder(p, record.path, *store)) {
        return {Fail(session, msg::StoreAway(record.name, *away),
                     use == RestoreUse::Remove ? "Remove" : "Restore")};
      }
      if (use == RestoreUse::Remove) return {Done(), std::nullopt, true};
      return {Refuse(session, msg::NotInStore(record.actual), "Restore", Icon::Information)};
    }
    held.name = record.actual;
    held.folder = held.parent->OpenChild(record.actual);
  } catch (const Failure& f) {
    return {Fail(session, msg::StoreUnreachable(*store, f.Description()),
                 use == RestoreUse::Remove ? "Remove" : "Restore")};
  }
  if (auto mounted = MountInsideProblem(p, stored)) return {MoveFailed(session, stored, *mounted)};

  std::optional<Place> place = PlaceFor(session, record);
  if (!place) return {Declined()};
  // The folder arrives under its own name. Where a folder of that name
  // already stands, it arrives beside it under a free name instead of being
  // merged into it.
  std::string name = record.name;
  if (place->folder->ChildId(name)) {
    if (session.dialogue.Ask(ask::RestoreBeside{name}) != Answer::Yes) return {Declined()};
    name = FindFreeName(*place->folder, name).name;
  }
  const std::string target = place->path + name;
  FolderRecord restored = record;
  restored.name = name;
  restored.path = place->path;
  restored.status = kVisible;
  restored.actual = name;
  JournalWriter journal(session);
  PlanSummary plan;
  if (record.encryption == kEncrypted) {
    plan = PlanPlainNames(session, cipher, *held.folder, stored, journal);
    // Files that cannot be found cannot get their names back: the folder
    // stays hidden rather than come back with cipher names in it.
    if (!plan.complete) {
      return {MoveFailed(session, stored,
                         !plan.other_drive.empty()
                             ? msg::HoldsMount(stored, plan.other_drive)
                             : "Not every file in it can be read, so it was not restored and "
                               "stays hidden. Make every folder in it readable and restore it "
                               "again.")};
    }
    // A stand-in whose side file is missing or damaged keeps its name, and
    // the row its "Encrypted" mark, as for a rename that fails.
    if (plan.stand_ins_kept == 0) restored.encryption = kNormal;
  }

  journal.Commit({use == RestoreUse::Remove ? "remove" : "restore", record,
                  use == RestoreUse::Remove ? std::nullopt : std::optional(restored), stored,
                  target, plan, held.folder->Id()});
  if (MoveResult moved = MoveHeldFolder(held, std::move(place->folder), name); !moved) {
    journal.Withdraw();
    return {MoveFailed(session, stored, moved.reason)};
  }
  if (auto known = session.store_memos.find(*store); known != session.store_memos.end()) {
    known->second.taken.erase(FoldedName(record.actual));
  }
  if (name != record.name) {
    session.dialogue.Tell(record.name + " was restored as " + name + " because " + record.name +
                              " already exists in " + place->path + ".",
                          "Restore");
  }

  // A stand-in whose side file is missing or damaged keeps its name: the row
  // fails, naming the first such file, and keeps its "Encrypted" mark.
  std::optional<RowResult> kept;
  if (plan.stand_ins_kept > 0) {
    kept = MoveFailed(session, plan.first_kept,
                      std::to_string(plan.stand_ins_kept) +
                          " files kept their stand-in names: their names cannot be read back.");
  }
  RenameOutcome renamed;
  if (plan.renames > 0) {
    JournalPlan names(session, journal.Offset());
    renamed = RenameFiles(session, *held.folder, target, names, plan.renames);
  }
  if (renamed.failed > 0 || kept) {
    // The record keeps its "Encrypted" mark, so that check --repair may
    // finish the names; a row being removed stays in the list for that.
    restored.encryption = record.encryption;
    journal.Amend(restored);
  }
  if (renamed.failed > 0) {
    return {MoveFailed(session, renamed.first_failure,
                       std::to_string(renamed.failed) +
                           " file names kept their encrypted form; \"veilbox-cli check "
                           "--repair\" can finish them."),
            restored};
  }
  return {kept.value_or(Done()), restored};
}

}  // namespace veilbox
