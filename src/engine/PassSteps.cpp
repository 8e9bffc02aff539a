#include "engine/PassSteps.h"

#include "app/FolderData.h"
#include "diag/Failure.h"
#include "engine/CommandScope.h"
#include "engine/Journal.h"
#include "engine/Messages.h"
#include "engine/RecordLookup.h"
#include "engine/Recovery.h"

namespace veilbox {
namespace {

void Count(CommandResult& result, RowOutcome outcome) {
  switch (outcome) {
    case RowOutcome::Done:
      ++result.done;
      break;
    case RowOutcome::Declined:
      ++result.declined;
      break;
    case RowOutcome::Failed:
      ++result.failed;
      break;
    case RowOutcome::Skipped:
      break;
  }
}

// A ticked row's pass, announced to the front end by the folder's name.
RowResult PassOver(AppState& state, const FolderRow& row,
                   const std::function<RowResult(const FolderRow&)>& row_command) {
  struct Announced {
    Dialogue& dialogue;
    ~Announced() { dialogue.EndPass(); }
  } announced{state.dialogue};
  state.dialogue.BeginPass(row.folder);
  return row_command(row);
}

// Whether the list in memory holds the change of every entry in the
// journal, so that the journal is done with once the list is saved. A
// command stopped by a failure after a row's move, before its record
// changed, leaves an entry that only recovery can finish.
bool JournalFollowed(AppState& state) {
  try {
    for (const Journal& entry : ReadJournal(state)) {
      const std::string& data = state.HiddenFolderData;
      if (ReplaceRecord(data, entry.old_record, entry.new_record) != data) return false;
    }
  } catch (const Failure&) {
    return false;
  }
  return true;
}

}  // namespace

void ChangeRecord(AppState& state, const std::string& old_text, const std::string& new_text) {
  state.HiddenFolderData = ReplaceRecord(state.HiddenFolderData, old_text, new_text);
}

void SaveAndReload(AppState& state, CommandResult& result, bool journal_done) {
  if (!SaveFolders(state)) {
    ++result.failed;
    return;
  }
  if (journal_done) Trap(state.reporter, [&] { RemoveJournal(state); });
  result.rows = LoadDataFile(state);
}

CommandResult RunRows(AppState& state, const std::vector<FolderRow>& rows,
                      const std::function<RowResult(const FolderRow&)>& row_command) {
  CommandResult result;
  // The list is written while the data is still held: no other copy may
  // read it between the rows and the write.
  std::optional<CommandScope> scope;
  const bool completed = Trap(state.reporter, [&] {
    scope.emplace(state);
    if (state.platform.FileExists(JournalPath(state))) RecoverInterruptedRow(state);
    for (const FolderRow& row : rows) {
      const RowResult r = row.ticked ? PassOver(state, row, row_command) : row_command(row);
      Count(result, r.outcome);
      if (r.end_pass) break;
    }
  });
  if (!completed) ++result.failed;
  if (scope) SaveAndReload(state, result, completed || JournalFollowed(state));
  return result;
}

bool UsableRecord(AppState& state, const FoundRecord& found) {
  const std::optional<std::string> problem =
      RecordProblem(found.record, state.platform.Separator());
  if (!problem) return true;
  state.dialogue.Tell(msg::LeftAlone(msg::RowOf(state.SrcDataFilename, found.row), *problem),
                      msg::kLeftAloneTitle, Icon::Exclamation);
  return false;
}

void TellMoveFailed(AppState& state, const std::string& folder, const std::string& reason) {
  state.dialogue.Tell(msg::MoveFailed(folder, reason), msg::kMoveFailedTitle, Icon::Exclamation);
}

}  // namespace veilbox
