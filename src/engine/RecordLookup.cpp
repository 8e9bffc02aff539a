#include "engine/RecordLookup.h"

#include <string_view>

#include "diag/Failure.h"
#include "store/TextUtil.h"

namespace veilbox {

// The records are looked at in place, field by field, so that a command
// over many rows does not copy the whole database for each one.
std::optional<FoundRecord> FindRecord(const std::string& database, const FolderRow& row,
                                      Where where) {
  size_t start = 0;
  size_t number = 0;
  for (size_t end; (end = database.find(kRecordTerminator, start)) != std::string::npos;
       start = end + 1) {
    ++number;
    const std::string_view text(database.data() + start, end - start);
    const size_t name_end = text.find(kFieldSeparator);
    if (name_end == std::string_view::npos || text.substr(0, name_end) != row.folder) continue;
    const size_t path_end = text.find(kFieldSeparator, name_end + 1);
    if (text.substr(name_end + 1, path_end == std::string_view::npos
                                      ? std::string_view::npos
                                      : path_end - name_end - 1) != row.path) {
      continue;
    }
    std::vector<std::string> f = SplitString(std::string(text), kFieldSeparator);
    if (f.size() != 5) Raise(err::kSubscriptOutOfRange, "Subscript out of range", where);
    return FoundRecord{
        {f[0], f[1], f[2], f[3], f[4]}, std::string(text) + kRecordTerminator, number};
  }
  return std::nullopt;
}

std::string ReplaceRecord(const std::string& database, const std::string& old_text,
                          const std::string& new_text) {
  // Whole records only: a record's text can also stand inside a longer one
  // ("A</x/..." inside "BA</x/..."), which must not change.
  if (old_text.empty() || old_text.find(kRecordTerminator) != old_text.size() - 1) return database;
  std::string result;
  size_t copied = 0;
  for (size_t at = database.find(old_text); at != std::string::npos;
       at = database.find(old_text, at + 1)) {
    if (at < copied || (at > 0 && database[at - 1] != kRecordTerminator)) continue;
    result.append(database, copied, at - copied);
    result += new_text;
    copied = at + old_text.size();
  }
  if (copied == 0) return database;
  result.append(database, copied);
  return result;
}

}  // namespace veilbox
