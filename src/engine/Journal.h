// The write-ahead journal of one row: written and flushed before the row's
// first move, removed once the row's record is saved. A journal left behind
// by a stopped program says everything needed to bring that row to a
// consistent end (see Recovery).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "engine/FilenamePass.h"

namespace veilbox {

struct Journal {
  std::string operation;          // "hide", "restore" or "remove"
  std::string old_record;         // the record's text before the row
  std::string new_record;         // its text after the row; empty when it is dropped
  std::string from;               // the folder's path before the move
  std::string to;                 // its path after the move
  NamePlan names;                 // the renames that follow the move, below "to"
  std::optional<EntryId> folder;  // the folder that moves; absent in older journals
};

// The journal's file: Dat.sys's path followed by ".journal".
std::string JournalPath(const AppState& state);

// Writes the journal atomically and flushes it; raises when it cannot, so
// that nothing moves without it.
void WriteJournal(AppState& state, const Journal& journal, Where where = Where::current());

// The journal left on disk, if any. Raises when it cannot be read back.
std::optional<Journal> ReadJournal(AppState& state, Where where = Where::current());

void RemoveJournal(AppState& state, Where where = Where::current());

// The text form, exposed for tests: one field a line, tab-separated, with
// backslash escapes so that any name can be stored.
std::string JournalText(const Journal& journal);
std::optional<Journal> ParseJournal(const std::string& text);

}  // namespace veilbox
