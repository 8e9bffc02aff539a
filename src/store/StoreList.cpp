#include "store/StoreList.h"

#include "store/FolderRecord.h"
#include "store/TextUtil.h"

namespace veilbox {

std::vector<std::string> StoreFolders(const std::string& store_list) {
  std::vector<std::string> folders = SplitString(store_list, kRecordTerminator);
  // The text after the last "*" is normally empty; an entry whose "*" was
  // lost still counts.
  if (folders.back().empty()) folders.pop_back();
  return folders;
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
