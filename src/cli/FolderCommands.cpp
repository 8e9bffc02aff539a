#include "cli/FolderCommands.h"

#include <iostream>

#include "cli/ExitCode.h"
#include "cli/FullPath.h"
#include "cli/Note.h"
#include "cli/RowSelection.h"
#include "cli/StoreUnlock.h"
#include "cli/TerminalText.h"
#include "engine/CommandScope.h"
#include "engine/UnlockMarker.h"

namespace veilbox::cli {

int ListFolders(Session& session) {
  const char separator = session.platform.Separator();
  for (const ListRow& row : session.Rows()) {
    std::cout << OneLine(row.folder, separator) << '\t' << OneLine(row.path, separator) << '\t'
              << row.status << '\t' << row.encryption << '\n';
  }
  return kAllDone;
}

int AddFolders(Session& session, TerminalDialogue& dialogue, const Options& options) {
  int code = kAllDone;
  int count = 0;
  for (const std::string& typed : options.folders) {
    const std::string folder = FullPath(typed);
    if (!session.platform.FolderExists(folder)) {
      Note(folder + " is not a folder");
      code = kNotAllDone;
      continue;
    }
    dialogue.ChooseNext(folder);
    ++count;
  }
  if (count > 0 && !session.Add(count).AllDone()) code = kNotAllDone;
  return code;
}

int MoveFolders(Session& session, const Options& options) {
  std::vector<std::string> wanted;
  for (const std::string& typed : options.folders) wanted.push_back(FullPath(typed));
  const Selection selection = SelectRows(session.Rows(), wanted);
  for (const std::string& missing : selection.missing) Note(missing + " is not in the folder list");
  if (selection.rows.empty()) return kNotAllDone;

  StoreUnlock unlocked(session);
  const CommandResult result = options.command == "remove" ? session.Remove(selection.rows)
                               : options.command == "hide"
                                   ? session.Hide(selection.rows, options.encrypt)
                                   : session.Restore(selection.rows);
  const bool relocked = unlocked.Relock();
  const bool all_done = result.AllDone() && selection.missing.empty();
  return all_done && unlocked.Unlocked() && relocked ? kAllDone : kNotAllDone;
}

int LockStores(Session& session, bool lock) {
  // Not in the middle of another copy's moves, and over the current list.
  CommandScope scope(session);
  const bool ok = lock ? LockForUser(session) : UnlockForUser(session);
  return ok ? kAllDone : kNotAllDone;
}

}  // namespace veilbox::cli
