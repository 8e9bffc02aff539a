// cmdAdd_Click and cmdRemove_Click's work: which folders the list knows.
#include <algorithm>
#include <optional>

#include "crypto/cEncrypt.h"
#include "engine/CommandScope.h"
#include "engine/FolderGuards.h"
#include "engine/Messages.h"
#include "engine/PassSteps.h"
#include "engine/RestoreSteps.h"
#include "engine/StoreSetup.h"

namespace veilbox {
namespace {

// Remove for one row: a hidden folder comes back to its place first. The
// row goes (into gone: the caller drops it once every row ran) unless its
// folder could not be restored, or came back with names in cipher form.
RowResult RemoveRow(Session& session, cEncrypt& cipher, size_t row, std::vector<size_t>& gone) {
  // Dropping a Visible row reaches no folder; a hidden one is restored
  // first, which needs a record that names its folders.
  if (session.folders[row].status != kVisible) {
    if (auto refused = RefuseUnusable(session, row)) return *refused;
    RestoreResult restored = RestoreFolder(session, cipher, row, RestoreUse::Remove);
    if (!restored.nothing_to_restore) {
      if (!restored.restored) return restored.result;
      if (restored.restored->encryption == kEncrypted) {
        session.folders.Replace(row, *restored.restored);
        return restored.result;
      }
    }
    gone.push_back(row);
    return restored.result;
  }
  gone.push_back(row);
  return Done();
}

// Adds a Visible record for folder to the list in memory; refused, telling
// the user why, when it cannot be listed, and declined when the user
// declines the store set-up.
RowResult AddOne(Session& session, const std::string& folder) {
  if (auto problem = ListedFolderProblem(session, folder)) {
    return Refuse(session, *problem + " It cannot be added.", "Folder", Icon::Information);
  }
  // What a hide refuses (a link on the way) is refused now: the row could
  // never be hidden.
  if (OpenedFolder opened = session.platform.OpenFolderNoLinks(folder); !opened.folder) {
    return Refuse(session, opened.reason + ". It cannot be added.", "Folder", Icon::Information);
  }
  if (!StoreFolderOf(session, folder) && !RunStoreSetup(session, folder, /*for_add=*/true)) {
    return Declined();
  }
  session.folders.Add(NewRecord(folder));
  return Done();
}

}  // namespace

CommandResult Session::Add(int count) {
  CommandResult result;
  // Taken at the first folder chosen, so that no chooser the user cancels
  // holds the data meanwhile.
  std::optional<CommandScope> scope;
  result.completed = Trap(reporter, [&] {
    for (int i = 0; i < count; ++i) {
      const std::string folder = dialogue.ChooseFolder(FolderChoice::Folder);
      if (folder.empty()) {
        result.rows.push_back(Declined().outcome);
        continue;
      }
      if (!scope) scope.emplace(*this);
      result.rows.push_back(AddOne(*this, folder).outcome);
    }
  });
  if (scope && result.Count(RowOutcome::Kind::Done) > 0) {
    result.reloaded = SaveAndReload(*this, false);
    result.completed = result.completed && result.reloaded;
  }
  return result;
}

CommandResult Session::Remove(const std::vector<size_t>& rows) {
  // Last to first, as the list removes its rows.
  const std::vector<size_t> last_first(rows.rbegin(), rows.rend());
  cEncrypt cipher;
  std::vector<size_t> gone;
  return RunRows(
      *this, last_first, [&](size_t row) { return RemoveRow(*this, cipher, row, gone); },
      [&] {
        std::sort(gone.rbegin(), gone.rend());
        for (const size_t row : gone) folders.Erase(row);
      });
}

}  // namespace veilbox
