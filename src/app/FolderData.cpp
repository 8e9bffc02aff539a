#include "app/FolderData.h"

#include "app/LeftAlone.h"
#include "diag/Failure.h"
#include "store/FolderDatabase.h"

namespace veilbox {

bool SaveFolders(Session& session) {
  return Trap(session.reporter,
              [&] { SaveData(session.platform, session.folders.Text(), session.data_file); });
}

bool Session::ReadFolders() {
  // No file yet: nothing was ever listed.
  if (!platform.FileExists(data_file)) {
    folders = {};
    return true;
  }
  return Trap(reporter, [&] {
    const std::string text = LoadTextFile(platform, data_file);
    if (text.empty()) Raise(err::kInvalidArgument, "The folder list " + data_file + " is empty");
    folders = FolderList::Parse(text);
    // Each entry that is not a record is told once, and kept as it is.
    for (const auto& [number, entry] : folders.Unreadable()) {
      if (!reported_.insert(entry).second) continue;
      dialogue.Tell(msg::LeftAlone(msg::RowOf(data_file, number),
                                   "\"" + entry + "\" is not an entry of the list"),
                    msg::kLeftAloneTitle, Icon::Exclamation);
    }
  });
}

bool Session::ReadList() {
  if (!ReadFolders()) return false;
  ShowFolders();
  return true;
}

void Session::ShowFolders() {
  shown_ = folders;
  rows_.clear();
  rows_.reserve(shown_.Size());
  for (size_t r = 0; r < shown_.Size(); ++r) {
    const FolderRecord& record = shown_[r];
    rows_.push_back({record.name, record.path, record.status, record.encryption});
  }
}

}  // namespace veilbox
