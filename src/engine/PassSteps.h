// Steps shared by the engine's commands: the per-row record change and the
// save and reload that end every command.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "engine/FolderRow.h"
#include "engine/RecordLookup.h"
#include "store/FolderRecord.h"

namespace veilbox {

enum class RowOutcome {
  Skipped,   // not ticked: not counted
  Done,      // changed, or already as wanted
  Declined,  // the user said no, or nothing could be done for it
  Failed,    // a move, rename or write failed; the user was told
};

struct RowResult {
  RowOutcome outcome = RowOutcome::Skipped;
  bool end_pass = false;  // no further row may run
};

// Runs row_command on each row in order, under the command's hold on the
// data, until a row ends the pass; then saves and reloads the list. A
// failure is reported and ends the pass. Rows a failed earlier command left
// in the journal are finished first.
CommandResult RunRows(AppState& state, const std::vector<FolderRow>& rows,
                      const std::function<RowResult(const FolderRow&)>& row_command);

// Puts new_text in place of the record old_text in the list in memory. The
// command writes the list once, at its end; until then a row that moved a
// folder has its change in its journal entry, on disk before the move.
void ChangeRecord(AppState& state, const std::string& old_text, const std::string& new_text);

// Ends a command: writes the database and reloads the rows into result.
// With journal_done, the journal is removed once the write is on disk;
// otherwise (the command stopped part way through a row) it stays for
// recovery.
void SaveAndReload(AppState& state, CommandResult& result, bool journal_done);

// Whether the record found for a row may be acted on (RecordProblem); when
// not, the user is told which row of Dat.sys and why, and it stays as it is.
bool UsableRecord(AppState& state, const FoundRecord& found);

// Tells the user a folder could not be moved and why.
void TellMoveFailed(AppState& state, const std::string& folder, const std::string& reason);

}  // namespace veilbox
