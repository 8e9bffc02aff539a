// Steps shared by the engine's commands over rows: finding the chosen rows
// again in the list as it is on disk, the save and reload that end every
// command, and the outcomes a row ends with.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Session.h"

namespace veilbox {

// What a row's step gives back: the row's outcome, and whether the pass ends
// with it (the user declined a question that stands for every later row).
struct RowResult {
  RowOutcome outcome;
  bool end_pass = false;
};

RowResult Done();
RowResult AlreadySo();
RowResult Declined(bool end_pass = false);
// The user is told text under title, and the row ends refused or failed
// with text as its reason.
RowResult Refuse(Session& session, const std::string& text, const std::string& title,
                 Icon icon = Icon::Exclamation);
RowResult Fail(Session& session, const std::string& text, const std::string& title,
               Icon icon = Icon::Exclamation);
// A folder could not be moved, and why: told as the move's error.
RowResult MoveFailed(Session& session, const std::string& folder, const std::string& reason);

// Runs row_command on each chosen row (places in the list the front end
// showed) in order, under the command's hold on the data, with the row's
// place in the list read anew; a row no longer in the list is refused. A
// row that ends the pass ends it; a failure is reported and ends it too.
// Then runs after_rows, saves the list and reads it again. Rows a failed
// earlier command left in the journal are finished first.
CommandResult RunRows(Session& session, const std::vector<size_t>& chosen,
                      const std::function<RowResult(size_t row)>& row_command,
                      const std::function<void()>& after_rows = {});

// Whether the record of a row may be acted on (RecordProblem); when not,
// the user is told which row of Dat.sys and why, and it stays as it is.
std::optional<RowResult> RefuseUnusable(Session& session, size_t row);

// Ends a command: writes the list and shows it (Session::Rows). With journal_done,
// the journal is removed once the write is on disk; otherwise (the command
// stopped part way through a row) it stays for recovery. False when the
// list could not be written (reported).
bool SaveAndReload(Session& session, bool journal_done);

}  // namespace veilbox
