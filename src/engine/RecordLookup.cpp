#include "engine/RecordLookup.h"

#include "diag/Failure.h"
#include "store/TextUtil.h"

namespace veilbox {

std::optional<FoundRecord> FindRecord(const std::string& database, const FolderRow& row,
                                      Where where) {
  std::vector<std::string> texts = SplitString(database, kRecordTerminator);
  for (size_t i = 0; i + 1 < texts.size(); ++i) {
    std::vector<std::string> f = SplitString(texts[i], kFieldSeparator);
    if (f.size() < 2 || f[0] != row.folder || f[1] != row.path) continue;
    if (f.size() != 5) Raise(err::kSubscriptOutOfRange, "Subscript out of range", where);
    return FoundRecord{{f[0], f[1], f[2], f[3], f[4]}, texts[i] + kRecordTerminator};
  }
  return std::nullopt;
}

std::string ReplaceRecord(const std::string& database, const std::string& old_text,
                          const std::string& new_text) {
  // Whole records only: a record's text can also stand inside a longer one
  // ("A</x/..." inside "BA</x/..."), which must not change.
  std::vector<std::string> texts = SplitString(database, kRecordTerminator);
  std::string result;
  for (size_t i = 0; i + 1 < texts.size(); ++i) {
    std::string text = texts[i] + kRecordTerminator;
    result += text == old_text ? new_text : text;
  }
  return result + texts.back();
}

}  // namespace veilbox
