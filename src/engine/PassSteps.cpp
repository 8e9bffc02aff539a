#include "engine/PassSteps.h"

#include "engine/CommandScope.h"
#include "engine/Journal.h"
#include "engine/Messages.h"
#include "engine/RecordLookup.h"
#include "app/FolderData.h"

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

}  // namespace

bool SaveRecordChange(AppState& state, const std::string& old_text, const std::string& new_text) {
  state.HiddenFolderData = ReplaceRecord(state.HiddenFolderData, old_text, new_text);
  return SaveFolders(state) && Trap(state.reporter, [&] { RemoveJournal(state); });
}

void SaveAndReload(AppState& state, CommandResult& result, bool write_failed) {
  if (write_failed) return;
  if (!SaveFolders(state)) {
    ++result.failed;
    return;
  }
  result.rows = LoadDataFile(state);
}

CommandResult RunRows(AppState& state, const std::vector<FolderRow>& rows,
                      const std::function<RowResult(const FolderRow&)>& row_command) {
  CommandResult result;
  bool write_failed = false;
  const bool completed = Trap(state.reporter, [&] {
    CommandScope scope(state);
    for (const FolderRow& row : rows) {
      const RowResult r = row.ticked ? PassOver(state, row, row_command) : row_command(row);
      Count(result, r.outcome);
      write_failed = r.write_failed;
      if (r.end_pass) break;
    }
  });
  if (!completed) ++result.failed;
  SaveAndReload(state, result, write_failed);
  return result;
}

void TellMoveFailed(AppState& state, const std::string& folder, const std::string& reason) {
  state.dialogue.Tell(msg::MoveFailed(folder, reason), msg::kMoveFailedTitle, Icon::Exclamation);
}

}  // namespace veilbox
