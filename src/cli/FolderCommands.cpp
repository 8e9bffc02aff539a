#include "cli/FolderCommands.h"

#include <iostream>

#include "app/FolderData.h"
#include "cli/ExitCode.h"
#include "cli/FullPath.h"
#include "cli/Note.h"
#include "cli/RowSelection.h"
#include "cli/StoreUnlock.h"
#include "cli/TerminalText.h"
#include "engine/AddRemove.h"
#include "engine/CommandScope.h"
#include "engine/Locking.h"
#include "engine/StatusChange.h"

namespace veilbox::cli {

int ListFolders(AppState& state) {
  const char separator = state.platform.Separator();
  for (const ListRow& row : LoadDataFile(state).value_or(std::vector<ListRow>{})) {
    std::cout << OneLine(row.folder, separator) << '\t' << OneLine(row.path, separator) << '\t'
              << row.status << '\t' << row.encryption << '\n';
  }
  return kAllDone;
}

int AddFolders(AppState& state, TerminalDialogue& dialogue, const Options& options) {
  int code = kAllDone;
  int count = 0;
  for (const std::string& typed : options.folders) {
    const std::string folder = FullPath(typed);
    if (!state.platform.FolderExists(folder)) {
      Note(folder + " is not a folder");
      code = kNotAllDone;
      continue;
    }
    dialogue.ChooseNext(folder);
    ++count;
  }
  if (count > 0 && !AddFolders(state, count).AllDone()) code = kNotAllDone;
  return code;
}

int MoveFolders(AppState& state, const Options& options) {
  std::vector<std::string> wanted;
  for (const std::string& typed : options.folders) wanted.push_back(FullPath(typed));
  const Selection selection =
      SelectRows(LoadDataFile(state).value_or(std::vector<ListRow>{}), wanted);
  for (const std::string& missing : selection.missing) Note(missing + " is not in the folder list");
  if (!selection.AnyTicked()) return kNotAllDone;

  StoreUnlock unlocked(state);
  const CommandResult result =
      options.command == "remove"
          ? RemoveFolders(state, selection.rows)
          : ChangeStatus(state, options.command == "hide" ? kStatusHidden : kStatusVisible,
                         selection.rows, options.encrypt);
  const bool relocked = unlocked.Relock();
  const bool all_done = result.AllDone() && selection.missing.empty();
  return all_done && unlocked.Unlocked() && relocked ? kAllDone : kNotAllDone;
}

int LockStores(AppState& state, bool lock) {
  // Not in the middle of another copy's moves, and over the current list.
  CommandScope scope(state);
  const bool ok = lock ? LockStoreFolders(state) : UnlockStoreFolders(state);
  return ok ? kAllDone : kNotAllDone;
}

}  // namespace veilbox::cli
