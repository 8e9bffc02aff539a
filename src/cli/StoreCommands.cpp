#include "cli/StoreCommands.h"

#include <iostream>

#include "cli/ExitCode.h"
#include "cli/FullPath.h"
#include "cli/Note.h"
#include "cli/TerminalText.h"
#include "engine/CommandScope.h"
#include "engine/StorePreferences.h"

namespace veilbox::cli {
namespace {

// The row of the drive key as stores lists it; its trailing separator may
// be left out.
std::optional<size_t> RowOfDrive(const std::vector<StoreRow>& rows, const std::string& drive,
                                 char separator) {
  for (const std::string& key : {drive, drive + separator}) {
    for (size_t i = 0; i < rows.size(); ++i) {
      if (rows[i].drive == key) return i;
    }
  }
  return std::nullopt;
}

}  // namespace

int StoresCommand(Session& session, TerminalDialogue& dialogue, const Options& options) {
  // The current list, kept from other copies until it is stored.
  CommandScope scope(session);
  StorePreferences preferences(session);
  if (options.stores_action.empty()) {
    const char separator = session.platform.Separator();
    for (const StoreRow& row : preferences.Rows())
      std::cout << OneLine(row.drive, separator) << '\t' << OneLine(row.path, separator) << '\n';
    return kAllDone;
  }
  session.ReadList();  // the list as it is now, under the data lock
  const std::vector<ListRow>& main_rows = session.Rows();
  bool changed = false;
  if (options.stores_action == "add") {
    dialogue.ChooseNext(FullPath(options.dir));
    changed = preferences.Add(main_rows);
  } else {
    const std::optional<size_t> row =
        RowOfDrive(preferences.Rows(), options.drive, session.platform.Separator());
    if (!row) {
      Note(options.drive + " has no store folder in the list");
      return kNotAllDone;
    }
    if (options.stores_action == "edit") {
      dialogue.ChooseNext(FullPath(options.dir));
      changed = preferences.Edit(row, main_rows);
    } else {
      changed = preferences.Remove(row, main_rows);
    }
  }
  return changed && preferences.Save() ? kAllDone : kNotAllDone;
}

}  // namespace veilbox::cli
