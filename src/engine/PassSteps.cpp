#include "engine/PassSteps.h"

#include <algorithm>

#include "app/Constants.h"
#include "app/FolderData.h"
#include "diag/Failure.h"
#include "engine/CommandScope.h"
#include "engine/Journal.h"
#include "engine/Messages.h"
#include "engine/Recovery.h"

namespace veilbox {
namespace {

// A chosen row's pass, announced to the front end by the folder's name.
RowResult PassOver(Session& session, size_t row,
                   const std::function<RowResult(size_t row)>& row_command) {
  struct Announced {
    Dialogue& dialogue;
    ~Announced() { dialogue.EndPass(); }
  } announced{session.dialogue};
  session.dialogue.BeginPass(session.folders[row].name);
  return row_command(row);
}

// Whether the list in memory holds the change of every entry in the
// journal, so that the journal is done with once the list is saved. A
// command stopped by a failure after a row's move, before its record
// changed, leaves an entry that only recovery can finish.
bool JournalFollowed(Session& session) {
  try {
    for (const Journal& entry : ReadJournal(session)) {
      if (!RecordChanged(session.folders, entry)) return false;
    }
  } catch (const Failure&) {
    return false;
  }
  return true;
}

RowResult Outcome(RowOutcome::Kind kind, std::string reason = {}, bool end_pass = false) {
  return {{kind, std::move(reason)}, end_pass};
}

}  // namespace

bool CommandResult::AllDone() const {
  return completed && std::all_of(rows.begin(), rows.end(), [](const RowOutcome& r) {
           return r.kind == RowOutcome::Kind::Done || r.kind == RowOutcome::Kind::AlreadySo;
         });
}

int CommandResult::Count(RowOutcome::Kind kind) const {
  return static_cast<int>(
      std::count_if(rows.begin(), rows.end(), [&](const RowOutcome& r) { return r.kind == kind; }));
}

RowResult Done() {
  return Outcome(RowOutcome::Kind::Done);
}

RowResult AlreadySo() {
  return Outcome(RowOutcome::Kind::AlreadySo);
}

RowResult Declined(bool end_pass) {
  return Outcome(RowOutcome::Kind::Declined, {}, end_pass);
}

RowResult Refuse(Session& session, const std::string& text, const std::string& title, Icon icon) {
  session.dialogue.Tell(text, title, icon);
  return Outcome(RowOutcome::Kind::Refused, text);
}

RowResult Fail(Session& session, const std::string& text, const std::string& title, Icon icon) {
  session.dialogue.Tell(text, title, icon);
  return Outcome(RowOutcome::Kind::Failed, text);
}

RowResult MoveFailed(Session& session, const std::string& folder, const std::string& reason) {
  return Fail(session, msg::MoveFailed(folder, reason), msg::kMoveFailedTitle);
}

std::optional<RowResult> RefuseUnusable(Session& session, size_t row) {
  const std::optional<std::string> problem =
      RecordProblem(session.folders[row], session.platform.Separator());
  if (!problem) return std::nullopt;
  return Refuse(
      session,
      msg::LeftAlone(msg::RowOf(session.data_file, session.folders.EntryNumber(row)), *problem),
      msg::kLeftAloneTitle);
}

bool SaveAndReload(Session& session, bool journal_done) {
  if (!SaveFolders(session)) return false;
  if (journal_done) Trap(session.reporter, [&] { RemoveJournal(session); });
  session.ShowFolders();
  return true;
}

CommandResult RunRows(Session& session, const std::vector<size_t>& chosen,
                      const std::function<RowResult(size_t row)>& row_command,
                      const std::function<void()>& after_rows) {
  CommandResult result;
  // The chosen rows as the front end saw them, found again below in the
  // list as it is now.
  const std::vector<RowRef> refs = session.Refs(chosen);
  // The list is written while the data is still held: no other copy may
  // read it between the rows and the write.
  std::optional<CommandScope> scope;
  result.completed = Trap(session.reporter, [&] {
    scope.emplace(session);
    if (session.platform.FileExists(JournalPath(session))) RecoverInterruptedRow(session);
    const std::vector<std::optional<size_t>> rows = session.folders.Find(refs);
    for (const std::optional<size_t>& row : rows) {
      if (!row) {
        result.rows.push_back(Refuse(session,
                                     "A folder you chose is no longer in the list as it was shown: "
                                     "the list was changed meanwhile. Choose it again.",
                                     kAppname)
                                  .outcome);
        continue;
      }
      const RowResult r = PassOver(session, *row, row_command);
      result.rows.push_back(r.outcome);
      if (r.end_pass) break;
    }
  });
  if (scope) {
    if (after_rows) after_rows();
    result.reloaded = SaveAndReload(session, result.completed || JournalFollowed(session));
    result.completed = result.completed && result.reloaded;
  }
  return result;
}

}  // namespace veilbox
