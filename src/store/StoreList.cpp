#include "store/StoreList.h"

#include "store/FolderRecord.h"
#include "store/Names.h"
#include "store/TextUtil.h"

namespace veilbox {

namespace {

// Every entry of the list, in order.
std::vector<std::string> Entries(const std::string& store_list) {
  std::vector<std::string> entries = SplitString(store_list, kRecordTerminator);
  // The text after the last "*" is normally empty; an entry whose "*" was
  // lost still counts.
  if (entries.back().empty()) entries.pop_back();
  return entries;
}

}  // namespace

std::vector<std::string> StoreFolders(const std::string& store_list) {
  std::vector<std::string> folders;
  for (std::string& entry : Entries(store_list)) {
    if (!FullPathProblem(entry)) folders.push_back(std::move(entry));
  }
  return folders;
}

std::vector<std::string> UnusableStoreEntries(const std::string& store_list) {
  std::vector<std::string> unusable;
  const std::vector<std::string> entries = Entries(store_list);
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].empty()) continue;  // names no folder at all
    if (auto problem = FullPathProblem(entries[i])) {
      unusable.push_back("Entry " + std::to_string(i + 1) + " of the store-folder list, \"" +
                         entries[i] + "\", " + *problem + ", so it is not used.");
    }
  }
  return unusable;
}

namespace {

std::vector<std::string> SameDrive(Platform& platform, const std::string& store_list,
                                   const std::string& drive) {
  std::vector<std::string> folders;
  for (const auto& folder : StoreFolders(store_list)) {
    if (!folder.empty() && platform.DriveKey(folder) == drive) folders.push_back(folder);
  }
  return folders;
}

}  // namespace

std::string RememberStoreDrive(const std::string& remembered, const std::string& folder,
                               const std::string& drive) {
  std::string kept;
  for (const std::string& entry : SplitString(remembered, kRecordTerminator)) {
    const std::vector<std::string> fields = SplitString(entry, kFieldSeparator);
    if (fields.size() == 2 && fields[0] != folder) kept += entry + kRecordTerminator;
  }
  return kept + folder + kFieldSeparator + drive + kRecordTerminator;
}

std::optional<std::string> RememberedDrive(const std::string& remembered,
                                           const std::string& folder) {
  for (const std::string& entry : SplitString(remembered, kRecordTerminator)) {
    const std::vector<std::string> fields = SplitString(entry, kFieldSeparator);
    if (fields.size() == 2 && fields[0] == folder) return fields[1];
  }
  return std::nullopt;
}

std::optional<std::string> StoreFolderForDrive(Platform& platform, const std::string& store_list,
                                               const std::string& path,
                                               const std::string& remembered) {
  const std::string drive = platform.DriveKey(path);
  std::optional<std::string> existing, planned;
  for (const auto& folder : SameDrive(platform, store_list, drive)) {
    if (platform.FolderExists(folder)) {
      existing = folder;
    } else if (!planned) {
      const std::optional<std::string> was_on = RememberedDrive(remembered, folder);
      if (!was_on || *was_on == drive) planned = folder;
    }
  }
  return existing ? existing : planned;
}

std::optional<std::string> MissingStoreFolder(Platform& platform, const std::string& store_list,
                                              const std::string& path, const std::string& serving) {
  for (const auto& folder : SameDrive(platform, store_list, platform.DriveKey(path))) {
    if (folder != serving && !platform.FolderExists(folder)) return folder;
  }
  return std::nullopt;
}

std::string AddStoreFolder(const std::string& store_list, const std::string& folder, Where where) {
  RefuseSeparators(folder, where);
  std::string list = store_list;
  if (!list.empty() && list.back() != kRecordTerminator) list += kRecordTerminator;
  return list + folder + kRecordTerminator;
}

}  // namespace veilbox
