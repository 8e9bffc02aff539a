// The Windows side of Veilbox's own places: whose they are, who may change
// them, and which folders lie above a path.
#include <filesystem>

#include "diag/Failure.h"
#include "platform/win32/Handle.h"
#include "platform/win32/Ownership.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WinError.h"
#include "platform/win32/WinPlatform.h"

namespace veilbox {
namespace fs = std::filesystem;

std::string WinPlatform::SettingsFolder() {
  return "";
}

std::optional<std::string> WinPlatform::NotPrivate(const std::string& path) {
  return win32::NotPrivateEntry(win32::Widen(path));
}

void WinPlatform::MakePrivate(const std::string& path, Where where) {
  if (!win32::MakePrivateEntry(win32::Widen(path))) {
    win32::RaiseWin32(GetLastError(), "Cannot make " + path + " private", where);
  }
}

std::vector<std::string> WinPlatform::MountPointsInside(const std::string&) {
  return {};
}

FolderLineage WinPlatform::Lineage(const std::string& path) {
  FolderLineage lineage;
  lineage.exists = true;
  for (fs::path folder = fs::path(win32::Widen(path)).lexically_normal();;
       folder = folder.parent_path()) {
    win32::Handle entry(CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (entry.Valid() && GetFileInformationByHandle(entry.Get(), &info)) {
      lineage.ids.push_back(
          {info.dwVolumeSerialNumber,
           (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow});
    } else if (lineage.ids.empty()) {
      lineage.exists = false;
    }
    if (folder == folder.parent_path() || !folder.has_relative_path()) return lineage;
  }
}

}  // namespace veilbox
