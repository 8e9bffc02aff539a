#include "platform/win32/WinPlatform.h"

#include <algorithm>
#include <filesystem>

#include "diag/Failure.h"
#include "platform/Codec.h"
#include "platform/Environment.h"
#include "platform/win32/AccessControl.h"
#include "platform/win32/Handle.h"
#include "platform/win32/LongPath.h"
#include "platform/win32/Ownership.h"
#include "platform/win32/Registry.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WinError.h"
#include "platform/win32/WinFiles.h"

namespace veilbox {
namespace fs = std::filesystem;
using win32::Narrow;
using win32::SystemPath;
using win32::UserPath;
using win32::Widen;

namespace {

constexpr const char* kWindowsKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

std::wstring FullPathOf(const std::wstring& path) {
  return UserPath(SystemPath(path));
}

std::wstring WithoutTrailingSeparator(std::wstring path) {
  while (path.size() > 1 && (path.back() == L'\\' || path.back() == L'/') &&
         !fs::path(path).relative_path().empty()) {
    path.pop_back();
  }
  return path;
}

std::wstring ExecutableFolder() {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (n < name.size()) {
      name.resize(n);
      return fs::path(UserPath(name)).parent_path().wstring();
    }
    name.resize(name.size() * 2);
  }
}

HKEY RootKey(SettingsRoot root) {
  return root == SettingsRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// The key path below the root, moved below the test's own key when one is
// set for the current user.
std::string KeyPath(SettingsRoot root, const std::string& key_path) {
  if (root != SettingsRoot::CurrentUser) return key_path;
  const std::optional<std::string> own = EnvironmentValue(kRegistryRootVariable);
  return own && !own->empty() ? *own + "\\" + key_path : key_path;
}

// The first count characters of UTF-8 text.
std::string FirstCharacters(const std::string& text, size_t count) {
  size_t end = 0;
  for (size_t n = 0; n < count && end < text.size(); ++n) {
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  }
  return text.substr(0, end);
}

}  // namespace

std::unique_ptr<Platform> CreatePlatform() {
  return std::make_unique<WinPlatform>();
}

std::string WinPlatform::ProgramFolder(Where where) {
  const std::optional<std::string> home = EnvironmentValue("VEILBOX_HOME");
  const std::wstring folder = WithoutTrailingSeparator(
      FullPathOf(home && !home->empty() ? Widen(*home) : ExecutableFolder()));
  win32::MakeFolders(folder, where);
  return Narrow(folder);
}

size_t WinPlatform::MaxPathLength() const {
  return win32::kLongestSystemPath - 1 - (sizeof "\\\\?\\UNC\\" - sizeof "\\\\");
}

std::string WinPlatform::DriveKey(const std::string& path) {
  return FirstCharacters(path, 3);
}

std::optional<std::string> WinPlatform::ReadSetting(SettingsRoot root, const std::string& key_path,
                                                    const std::string& name) {
  return win32::ReadRegistryString(RootKey(root), ToAnsi(KeyPath(root, key_path)), ToAnsi(name));
}

void WinPlatform::WriteSetting(SettingsRoot root, const std::string& key_path,
                               const std::string& name, const std::string& data, Where where) {
  if (root != SettingsRoot::CurrentUser) {
    Raise(err::kPermissionDenied, "Machine-wide settings are read-only", where);
  }
  win32::WriteRegistryString(RootKey(root), ToAnsi(KeyPath(root, key_path)), ToAnsi(name), data,
                             where);
}

bool WinPlatform::FileExists(const std::string& path) {
  const std::optional<EntryKind> kind = win32::KindAt(Widen(path));
  return !path.empty() && kind && *kind != EntryKind::Directory;
}

bool WinPlatform::FolderExists(const std::string& path) {
  return !path.empty() && win32::KindAt(Widen(path)) == EntryKind::Directory;
}

std::vector<DirEntry> WinPlatform::ListDirectory(const std::string& folder, Where where) {
  std::vector<DirEntry> entries;
  win32::VisitEntries(
      Widen(folder), [&](const DirEntry& entry) { entries.push_back(entry); }, where);
  // The order of a listing depends on the file system; a fixed order makes
  // every pass repeatable.
  std::sort(entries.begin(), entries.end(),
            [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
  return entries;
}

std::string WinPlatform::ReadFile(const std::string& path, Where where) {
  return win32::ReadWholeFile(Widen(path), where);
}

void WinPlatform::WriteFileAtomic(const std::string& path, const std::string& bytes, Where where) {
  win32::WriteAtomically(Widen(path), bytes, where);
}

void WinPlatform::RemoveFile(const std::string& path, Where where) {
  if (!DeleteFileW(SystemPath(Widen(path)).c_str())) {
    win32::RaiseWin32(GetLastError(), "Cannot delete " + path, where);
  }
}

void WinPlatform::CreateFolders(const std::string& path, Where where) {
  win32::MakeFolders(Widen(path), where);
}

std::string WinPlatform::WindowsFolder() {
  if (std::optional<std::string> root =
          ReadSetting(SettingsRoot::LocalMachine, kWindowsKey, "SystemRoot");
      root && !root->empty()) {
    return FromAnsi(*root);
  }
  wchar_t folder[MAX_PATH + 1] = {};
  const UINT n = GetWindowsDirectoryW(folder, MAX_PATH);
  return Narrow(std::wstring(folder, n));
}

void WinPlatform::ChangeAccess(const std::string& path, bool lock, Where where) {
  const std::string what = (lock ? "Cannot lock " : "Cannot unlock ") + path;
  if (const FolderFacts facts = InspectFolder(path); !facts.link.empty()) {
    Raise(err::kPathFileAccess, what + ": " + facts.link + " is or passes through a link", where);
  }
  const std::optional<EntryKind> kind = win32::KindAt(Widen(path));
  if (!kind) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return;
    win32::RaiseWin32(error, what, where);
  }
  if (*kind != EntryKind::Directory) Raise(err::kPathFileAccess, what + ": not a folder", where);
  // The folder itself, reached from its parent held open without links; a
  // locked folder cannot be listed, but its owner may always change its list.
  const fs::path full = WithoutTrailingSeparator(FullPathOf(Widen(path)));
  OpenedFolder parent = OpenFolderNoLinks(Narrow(full.parent_path().wstring()));
  if (!parent.folder) Raise(err::kPathFileAccess, what + ": " + parent.reason, where);
  win32::Handle folder(
      OpenEntryIn(*parent.folder, Narrow(full.filename().wstring()), READ_CONTROL | WRITE_DAC));
  if (!folder.Valid()) win32::RaiseWin32(GetLastError(), what, where);
  win32::ChangeStoreFolderAccess(folder.Get(), lock, what, where);
}

void WinPlatform::LockFolder(const std::string& path, Where where) {
  ChangeAccess(path, true, where);
}

void WinPlatform::UnlockFolder(const std::string& path, Where where) {
  ChangeAccess(path, false, where);
}

// Store folders.

FolderFacts WinPlatform::InspectFolder(const std::string& path) {
  FolderFacts facts;
  const fs::path full = fs::path(FullPathOf(Widen(path))).lexically_normal();
  std::vector<fs::path> parts;
  for (const fs::path& part : full.relative_path()) {
    if (!part.empty()) parts.push_back(part);
  }
  fs::path reached = full.root_path();
  std::optional<EntryKind> kind = win32::KindAt(reached.wstring());
  for (size_t i = 0; i < parts.size() && kind; ++i) {
    if (*kind != EntryKind::Directory) return facts;
    reached /= parts[i];
    kind = win32::KindAt(reached.wstring());
    if (kind == EntryKind::Link) {
      facts.link = Narrow(reached.wstring());
      facts.exists = i + 1 == parts.size();
      facts.kind = EntryKind::Link;
      return facts;
    }
  }
  if (!kind) return facts;
  facts.exists = true;
  facts.kind = *kind;
  facts.own = win32::OwnedByCurrentUser(reached.wstring());
  return facts;
}

void WinPlatform::CreatePrivateFolder(const std::string& path, Where where) {
  const std::string what = "Cannot create folder " + path;
  const FolderFacts facts = InspectFolder(path);
  if (!facts.link.empty()) {
    Raise(err::kPathFileAccess, what + ": " + facts.link + " is or passes through a link", where);
  }
  if (facts.exists && facts.kind != EntryKind::Directory) {
    Raise(err::kPathFileAccess, what + ": it is not a folder", where);
  }
  if (facts.exists || win32::CreatePrivateDirectory(Widen(path))) return;
  const DWORD error = GetLastError();
  if (error != ERROR_ALREADY_EXISTS || !FolderExists(path)) win32::RaiseWin32(error, what, where);
}

std::string WinPlatform::HomeFolder() {
  const std::optional<std::string> profile = EnvironmentValue("USERPROFILE");
  if (!profile || profile->empty()) return "";
  return Narrow(WithoutTrailingSeparator(FullPathOf(Widen(*profile))));
}

std::vector<SystemFolder> WinPlatform::SystemFolders() {
  std::vector<SystemFolder> folders{{WindowsFolder(), true}};
  // Folders that hold programs' and users' own folders: those inside them
  // may serve (the program folder's "Data" is the default store folder).
  for (const char* name :
       {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432", "ProgramData", "PUBLIC"}) {
    const std::optional<std::string> folder = EnvironmentValue(name);
    if (folder && !folder->empty()) folders.push_back({*folder, false});
  }
  const std::string home = HomeFolder();
  if (!home.empty()) folders.push_back({Narrow(fs::path(Widen(home)).parent_path().wstring())});
  return folders;
}

}  // namespace veilbox
