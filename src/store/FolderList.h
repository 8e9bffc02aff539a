// The folder database as Veilbox holds it between reading and writing
// Dat.sys: the records in their order, each a FolderRecord, and anything of
// the file that is not a record kept as it was written. Text exists only in
// Parse and Text: a list read and written unchanged gives back its bytes.
//
// The file holds records of five fields joined by "<", each ended by "*",
// and after the last one CR LF. A line end (CR LF or a bare LF) right after
// a "*" or at the end of the file ends a line; inside a record it belongs
// to a name. The last record may lack its "*".
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/FolderRecord.h"

namespace veilbox {

// Which record a front end chose, as it saw it: the record, and how many
// equal records came before it. Found again in a list read later, even when
// another copy of Veilbox changed the list meanwhile.
struct RowRef {
  FolderRecord record;
  size_t twin = 0;
};

class FolderList {
 public:
  // What the file holds between two "*" or line ends.
  struct Entry {
    std::optional<FolderRecord> record;  // nullopt: the text is not a record
    std::string text;                    // as written, when it is not a record
    bool terminated = true;              // followed by "*"
    std::string line_end;                // what follows: "", "\r\n" or "\n"
  };

  // The list in text as read from Dat.sys (NUL bytes already spaces).
  static FolderList Parse(const std::string& text);
  // The text to write to Dat.sys: as read, with the changes made since, the
  // last entry terminated and the last line ended.
  std::string Text() const;

  // The records, each by its row: its place among the records.
  size_t Size() const { return rows_.size(); }
  const FolderRecord& operator[](size_t row) const { return *entries_[rows_[row]].record; }
  std::vector<FolderRecord> Records() const;

  void Replace(size_t row, FolderRecord record);
  void Add(FolderRecord record);
  // The rows after row move up by one.
  void Erase(size_t row);

  // Where row is in the file, counting every entry from 1, for messages.
  size_t EntryNumber(size_t row) const { return rows_[row] + 1; }
  // Each entry that is not a record and not a blank line: its number, as
  // EntryNumber counts, and its text.
  std::vector<std::pair<size_t, std::string>> Unreadable() const;

  std::vector<RowRef> RefsOf(const std::vector<size_t>& rows) const;
  // The rows a front end chose, found in this list; nullopt for one the
  // list no longer holds.
  std::vector<std::optional<size_t>> Find(const std::vector<RowRef>& refs) const;

 private:
  void Index();
  // The rows of each record, by its text, in order.
  std::unordered_map<std::string, std::vector<size_t>> RowsByRecord() const;

  std::vector<Entry> entries_;
  std::vector<size_t> rows_;  // the entry of each record
};

}  // namespace veilbox
