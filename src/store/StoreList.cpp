#include "store/StoreList.h"

#include "store/FolderRecord.h"
#include "store/Names.h"
#include "store/TextUtil.h"

namespace veilbox {

StoreDrives StoreDrives::Parse(const std::string& text) {
  StoreDrives drives;
  for (const std::string& entry : SplitString(text, kRecordTerminator)) {
    std::vector<std::string> fields = SplitString(entry, kFieldSeparator);
    if (fields.size() == 2) drives.drives_.emplace_back(std::move(fields[0]), std::move(fields[1]));
  }
  return drives;
}

std::string StoreDrives::Text() const {
  std::string text;
  for (const auto& [folder, drive] : drives_) {
    text += folder + kFieldSeparator + drive + kRecordTerminator;
  }
  return text;
}

std::optional<std::string> StoreDrives::DriveOf(const std::string& folder) const {
  for (const auto& [known, drive] : drives_) {
    if (known == folder) return drive;
  }
  return std::nullopt;
}

void StoreDrives::Remember(const std::string& folder, const std::string& drive) {
  std::erase_if(drives_, [&](const auto& entry) { return entry.first == folder; });
  drives_.emplace_back(folder, drive);
}

StoreList StoreList::Parse(const std::string& text) {
  StoreList list;
  list.entries_ = SplitString(text, kRecordTerminator);
  // The text after the last "*" is normally empty.
  if (list.entries_.back().empty()) list.entries_.pop_back();
  return list;
}

std::string StoreList::Text() const {
  std::string text;
  for (const std::string& entry : entries_) text += entry + kRecordTerminator;
  return text;
}

std::vector<std::string> StoreList::Folders() const {
  std::vector<std::string> folders;
  for (const std::string& entry : entries_) {
    if (!FullPathProblem(entry)) folders.push_back(entry);
  }
  return folders;
}

std::vector<std::string> StoreList::Unusable() const {
  std::vector<std::string> unusable;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].empty()) continue;  // names no folder at all
    if (auto problem = FullPathProblem(entries_[i])) {
      unusable.push_back("Entry " + std::to_string(i + 1) + " of the store-folder list, \"" +
                         entries_[i] + "\", " + *problem + ", so it is not used.");
    }
  }
  return unusable;
}

void StoreList::Add(const std::string& folder, Where where) {
  RefuseSeparators(folder, where);
  entries_.push_back(folder);
}

std::vector<std::string> StoreList::SameDrive(Platform& platform, const std::string& drive) const {
  std::vector<std::string> folders;
  for (const std::string& folder : Folders()) {
    if (platform.DriveKey(folder) == drive) folders.push_back(folder);
  }
  return folders;
}

std::optional<std::string> StoreList::FolderForDrive(Platform& platform, const std::string& path,
                                                     const StoreDrives& remembered) const {
  const std::string drive = platform.DriveKey(path);
  std::optional<std::string> existing, planned;
  for (const std::string& folder : SameDrive(platform, drive)) {
    if (platform.FolderExists(folder)) {
      existing = folder;
    } else if (!planned) {
      const std::optional<std::string> was_on = remembered.DriveOf(folder);
      if (!was_on || *was_on == drive) planned = folder;
    }
  }
  return existing ? existing : planned;
}

std::optional<std::string> StoreList::MissingFolder(Platform& platform, const std::string& path,
                                                    const std::string& serving) const {
  for (const std::string& folder : SameDrive(platform, platform.DriveKey(path))) {
    if (folder != serving && !platform.FolderExists(folder)) return folder;
  }
  return std::nullopt;
}

}  // namespace veilbox
