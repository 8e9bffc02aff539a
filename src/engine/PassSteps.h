// Steps shared by the engine's commands: the per-row record rewrite and the
// save and reload that end every command.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "engine/FolderRow.h"
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
  bool end_pass = false;      // no further row may run
  bool write_failed = false;  // the database write failed
};

// Runs row_command on each row in order, under the command's hold on the
// data, until a row ends the pass; then saves and reloads the list. A
// failure is reported and ends the pass.
CommandResult RunRows(AppState& state, const std::vector<FolderRow>& rows,
                      const std::function<RowResult(const FolderRow&)>& row_command);

// Puts new_text in place of the record old_text and writes the database at
// once, so a row's change is on disk before the next row starts; then the
// row's journal is done with. False when the write failed (reported); the
// change then stays in memory only and the journal stays for recovery.
bool SaveRecordChange(AppState& state, const std::string& old_text, const std::string& new_text);

// Ends a command: writes the database and reloads the rows into result.
// Skips the write when an earlier write of the command failed.
void SaveAndReload(AppState& state, CommandResult& result, bool write_failed);

// Tells the user a folder could not be moved and why.
void TellMoveFailed(AppState& state, const std::string& folder, const std::string& reason);

}  // namespace veilbox
