// The write-ahead journal of a command: each row that moves a folder adds
// an entry, flushed to disk before the row's move; the journal is removed
// once the command's records are saved. A journal left behind by a stopped
// program says everything needed to bring each of its rows to a consistent
// end (see Recovery).
//
// An entry holds the planned renames, written as the tree is walked so that
// no plan is ever held whole in memory (folder by folder, each file by its
// name in its folder, a stand-in with its side file and the cipher text
// that side file holds), then the row's facts and an end mark. An entry is
// whole once its end mark is on disk; only then does the row move anything,
// so an entry cut off while it was written (the last one) is ignored.
// Entries are appended in place: a row costs one flush to disk, not a
// rewrite of the journal or of Dat.sys.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "app/Session.h"
#include "engine/FilenamePass.h"
#include "store/FolderList.h"
#include "store/LineReader.h"

namespace veilbox {

struct Journal {
  std::string operation;                        // "hide", "restore" or "remove"
  FolderRecord old_record = {};                 // the record before the row
  std::optional<FolderRecord> new_record = {};  // after the row; nullopt when it is dropped
  std::string from = {};                        // the folder's path before the move
  std::string to = {};                          // its path after the move
  PlanSummary names = {};                       // the renames that follow the move, below "to"
  std::optional<EntryId> folder = {};           // the folder that moves; absent in older journals
  long long offset = 0;                         // where the entry starts in the journal file
  // Why the entry must not be acted on (a name that is not one name, a path
  // that is not a full path), naming its line; empty when it may.
  std::string problem = {};
};

// The journal's file: Dat.sys's path followed by ".journal".
std::string JournalPath(const Session& session);

// Writes a row's entry: the planned renames as they are added, then the
// row's facts at Commit. Destroyed before Commit, it cuts the entry off
// again (and removes a journal it started).
class JournalWriter : public PlanWriter {
 public:
  // Raises when the journal cannot be opened or started.
  explicit JournalWriter(Session& session, Where where = Where::current());
  ~JournalWriter() override;
  JournalWriter(const JournalWriter&) = delete;
  JournalWriter& operator=(const JournalWriter&) = delete;

  void Add(const PlannedRename& rename) override;
  // Ends the entry with the row's facts (its names field is not written:
  // the renames added are the plan) and flushes it to disk. Raises when it
  // cannot, with the entry cut off again, so that nothing moves without it.
  void Commit(const Journal& journal, Where where = Where::current());
  // The row's move did not happen: its committed entry is cut off again, so
  // that a later row may use the same target.
  void Withdraw();
  // The row ended with another record than the one committed (names that
  // could not be changed): recovery is to write that one.
  void Amend(const FolderRecord& new_record, Where where = Where::current());
  // Where the entry starts, for JournalPlan.
  long long Offset() const { return offset_; }

 private:
  void CutOff();

  Session& session_;
  std::string path_;
  std::vector<char> buffer_;  // the file's, so it must outlive file_
  std::FILE* file_ = nullptr;
  bool created_ = false;  // this entry started the journal
  long long offset_ = 0;  // where the entry starts
  std::string folder_;    // the folder of the last rename written
  std::string line_;      // the text of the rename being written
  bool any_ = false;
  bool committed_ = false;
};

// A journal of one entry without renames, written and flushed at once.
void WriteJournal(Session& session, const Journal& journal, Where where = Where::current());

// The facts of each whole entry of the journal left on disk, in order;
// names.renames counts each one's renames. Empty when there is no journal or
// no whole entry. Raises when it cannot be read or a whole entry is damaged.
// An entry whose names or paths could lead outside its folders says so in
// its problem.
std::vector<Journal> ReadJournal(Session& session, Where where = Where::current());

// The renames of the entry at offset in the journal on disk, read back in
// order. Raises when it cannot be opened.
class JournalPlan : public PlanReader {
 public:
  JournalPlan(Session& session, long long offset, Where where = Where::current());
  ~JournalPlan() override;
  JournalPlan(const JournalPlan&) = delete;
  JournalPlan& operator=(const JournalPlan&) = delete;
  bool Next(PlannedRename& rename) override;

 private:
  bool IsPlainName(const std::string& name) const;

  std::FILE* file_;
  LineReader lines_;
  char separator_;
  std::string folder_;
  std::string line_;
};

// Whether list holds the change of entry: its old record is gone, or it is
// its new one as well.
bool RecordChanged(const FolderList& list, const Journal& entry);

// Puts the entry's new record in the place of its old one in list (or drops
// it); false when list holds no such record.
bool ApplyChange(FolderList& list, const Journal& entry);

// Removes the journal, and any unfinished one an older Veilbox left.
void RemoveJournal(Session& session, Where where = Where::current());

// The text of a journal of one entry whose plan holds no renames.
std::string JournalText(const Journal& journal);

}  // namespace veilbox
