#include "app/FolderData.h"

#include <algorithm>

#include "diag/Failure.h"
#include "store/FolderDatabase.h"
#include "store/TextUtil.h"

namespace veilbox {

bool SaveFolders(AppState& state) {
  return Trap(state.reporter,
              [&] { SaveData(state.platform, state.HiddenFolderData, state.SrcDataFilename); });
}

std::optional<std::vector<ListRow>> LoadDataFile(AppState& state) {
  if (!state.platform.FileExists(state.SrcDataFilename)) return std::nullopt;
  std::optional<std::vector<ListRow>> rows;
  Trap(state.reporter, [&] {
    std::string text = LoadTextFile(state.platform, state.SrcDataFilename);
    if (text.empty()) {
      Raise(err::kInvalidArgument, "The folder list " + state.SrcDataFilename + " is empty");
    }
    // Only a real line end is dropped: a file edited by hand without one
    // loses nothing.
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
      text.resize(text.size() - 2);
    // A last record without its terminator is closed here, so that it shows
    // in the list and a record added later cannot run into it.
    if (!text.empty() && text.back() != kRecordTerminator) text += kRecordTerminator;
    state.HiddenFolderData = text;
    rows.emplace();
    std::vector<std::string> records = SplitString(text, kRecordTerminator);
    for (size_t i = 0; i + 1 < records.size(); ++i) {
      std::vector<std::string> f = SplitString(records[i], kFieldSeparator);
      const size_t present = f.size();
      f.resize(std::max<size_t>(present, 4));
      rows->push_back({f[0], f[1], f[2], f[3]});
      if (present < 4) Raise(err::kSubscriptOutOfRange, "Subscript out of range");
    }
  });
  return rows;
}

}  // namespace veilbox
