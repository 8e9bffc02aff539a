// Finding a list row's record in the folder database, and rewriting or
// dropping records by their text.
#pragma once

#include <optional>
#include <string>

#include "engine/FolderRow.h"
#include "platform/Platform.h"
#include "store/FolderRecord.h"

namespace veilbox {

struct FoundRecord {
  FolderRecord record;
  std::string text;  // the record as stored, terminator included
  size_t row = 0;    // its place in the database, counted from 1
};

// The first record whose name and path equal the row's, compared exactly;
// nullopt when there is none. A matching record without five fields raises.
std::optional<FoundRecord> FindRecord(const std::string& database, const FolderRow& row,
                                      Where where = Where::current());

// The database with every record whose text is old_text replaced by new_text
// (empty text drops it).
std::string ReplaceRecord(const std::string& database, const std::string& old_text,
                          const std::string& new_text);

}  // namespace veilbox
