// The write-ahead journal of one row: written and flushed before the row's
// first move, removed once the row's record is saved. A journal left behind
// by a stopped program says everything needed to bring that row to a
// consistent end (see Recovery).
//
// The planned renames go into the journal as the tree is walked, so that no
// plan is ever held whole in memory: the journal is written under a
// temporary name, the renames first (folder by folder, each file by its name
// in its folder), then the row's facts and an end mark, and only then takes
// its real name, in one durable step. A journal is therefore whole or absent.
// Reading it back is sequential: once for the facts, once for the renames.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "app/AppState.h"
#include "engine/FilenamePass.h"

namespace veilbox {

struct Journal {
  std::string operation;          // "hide", "restore" or "remove"
  std::string old_record;         // the record's text before the row
  std::string new_record;         // its text after the row; empty when it is dropped
  std::string from;               // the folder's path before the move
  std::string to;                 // its path after the move
  PlanSummary names;              // the renames that follow the move, below "to"
  std::optional<EntryId> folder;  // the folder that moves; absent in older journals
};

// The journal's file: Dat.sys's path followed by ".journal".
std::string JournalPath(const AppState& state);

// Writes a row's journal: the planned renames as they are added, then the
// row's facts at Commit. Destroyed before Commit, it leaves no journal.
class JournalWriter : public PlanWriter {
 public:
  // Raises when the journal cannot be started.
  explicit JournalWriter(AppState& state, Where where = Where::current());
  ~JournalWriter() override;
  JournalWriter(const JournalWriter&) = delete;
  JournalWriter& operator=(const JournalWriter&) = delete;

  void Add(const std::string& folder, const std::string& name,
           const std::string& new_name) override;
  // Ends the journal with the row's facts (its names field is not written:
  // the renames added are the plan) and makes it the journal, flushed to
  // disk. Raises when it cannot, so that nothing moves without it.
  void Commit(const Journal& journal, Where where = Where::current());

 private:
  AppState& state_;
  std::string temp_;
  std::FILE* file_ = nullptr;
  std::string folder_;  // the folder of the last rename written
  bool any_ = false;
  long renames_ = 0;
};

// A journal without renames, written and flushed at once.
void WriteJournal(AppState& state, const Journal& journal, Where where = Where::current());

// The facts of the journal left on disk, if any; names.renames counts its
// renames. Raises when it cannot be read back or is not whole.
std::optional<Journal> ReadJournal(AppState& state, Where where = Where::current());

// The renames of the journal on disk, read back in order. Raises when it
// cannot be opened.
class JournalPlan : public PlanReader {
 public:
  explicit JournalPlan(AppState& state, Where where = Where::current());
  ~JournalPlan() override;
  JournalPlan(const JournalPlan&) = delete;
  JournalPlan& operator=(const JournalPlan&) = delete;
  bool Next(PlannedRename& rename) override;

 private:
  std::FILE* file_;
  char separator_;
  std::string folder_;
  std::string line_;
};

// Removes the journal, and any journal a stopped program left unfinished.
void RemoveJournal(AppState& state, Where where = Where::current());

// The text of a journal whose plan holds no renames.
std::string JournalText(const Journal& journal);

}  // namespace veilbox
