#include "engine/RestoreSteps.h"

#include "engine/FilenamePass.h"
#include "engine/Journal.h"
#include "engine/Messages.h"
#include "engine/StoreName.h"
#include "engine/StoreSetup.h"
#include "store/TextUtil.h"

namespace veilbox {
namespace {

// The relocation dialogue: a folder on the place's drive chosen by the user,
// as a parent path ending in the separator; nullopt when declined.
std::optional<std::string> ChooseNewPlace(AppState& state, const std::string& place,
                                          const std::string& name) {
  if (state.dialogue.Ask(msg::PlaceGone(place, name), "Restore", Icon::Information,
                         Buttons::YesNoCancel) != Answer::Yes) {
    return std::nullopt;
  }
  const std::string drive = state.platform.DriveKey(place);
  for (;;) {
    std::string chosen = state.dialogue.ChooseFolder(msg::kChooseRestoreTitle);
    if (!chosen.empty() && state.platform.DriveKey(chosen) == drive) {
      return JoinPath(chosen, "");
    }
    if (state.dialogue.Ask(msg::NotOnDrive(drive), "Folder", Icon::Question,
                           Buttons::YesNoCancel) != Answer::Yes) {
      return std::nullopt;
    }
  }
}

bool EntryExists(Platform& platform, const std::string& path) {
  return platform.FolderExists(path) || platform.FileExists(path);
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
  if (!EntryExists(p, stored)) {
    if (use == RestoreUse::Remove) return {RowOutcome::Done, std::nullopt, true};
    state.dialogue.Tell(msg::NotInStore(record.actual), "Restore");
    return {RowOutcome::Declined};
  }

  std::string parent = record.path;
  if (!p.FolderExists(parent)) {
    std::optional<std::string> chosen = ChooseNewPlace(state, parent, record.actual);
    if (!chosen) return {RowOutcome::Declined};
    parent = *chosen;
  }
  // The folder arrives under its own name. Where a folder of that name
  // already stands, it arrives beside it under a free name instead of being
  // merged into it.
  std::string name = record.name;
  if (EntryExists(p, parent + name)) {
    if (state.dialogue.Ask(msg::AlreadyThere(name), "Exists", Icon::Question,
                           Buttons::YesNoCancel) != Answer::Yes) {
      return {RowOutcome::Declined};
    }
    name = FindFreeName(p, parent, name).name;
  }
  const std::string target = parent + name;
  FolderRecord restored = record;
  restored.name = name;
  restored.path = parent;
  restored.status = kVisible;
  restored.actual = name;
  NamePlan plan;
  if (record.encryption == kEncrypted) {
    plan = PlanPlainNames(state, cipher, stored);
    restored.encryption = kNormal;
  }

  WriteJournal(state, {use == RestoreUse::Remove ? "remove" : "restore", found.text,
                       use == RestoreUse::Remove ? "" : restored.Text(), stored, target, plan});
  if (MoveResult moved = p.MoveFolder(stored, target); !moved) {
    RemoveJournal(state);
    TellMoveFailed(state, stored, moved.reason);
    return {RowOutcome::Failed};
  }
  if (name != record.name) {
    state.dialogue.Tell(record.name + " was restored as " + name + " because " + record.name +
                            " already exists in " + parent + ".",
                        "Restore");
  }

  RowOutcome outcome = RowOutcome::Done;
  RenameOutcome renamed = RenameFiles(state, target, plan);
  if (renamed.failed > 0) {
    TellMoveFailed(state, renamed.first_failure,
                   std::to_string(renamed.failed) + " file names kept their encrypted form.");
    outcome = RowOutcome::Failed;
  }
  return {outcome, restored};
}

}  // namespace veilbox
