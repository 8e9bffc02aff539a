// Folders opened without following links (symbolic links, junctions, volume
// mount points), and the work done relative to them. A folder is held by a
// handle that follows it when it moves; its entries are reached through the
// path the system gives for that handle at the moment of use, in its long
// form, and every entry is opened with FILE_FLAG_OPEN_REPARSE_POINT so that
// a link is never entered. A move renames the entry through its own handle,
// so it is the entry that was opened that moves.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "diag/Failure.h"
#include "platform/win32/Handle.h"
#include "platform/win32/LongPath.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WinError.h"
#include "platform/win32/WinFiles.h"
#include "platform/win32/WinPlatform.h"

namespace veilbox {
using win32::Handle;
using win32::Narrow;
using win32::UserPath;
using win32::Widen;

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kEntryFlags = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;
constexpr std::uint64_t kTicksPerSecond = 10'000'000;  // a FILETIME counts 100 ns ticks
constexpr DWORD kFolderAccess = FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE;

HANDLE OpenEntry(const std::wstring& path, DWORD access) {
  return CreateFileW(win32::SystemPath(path).c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                     kEntryFlags, nullptr);
}

// A path for messages.
std::string Shown(const std::wstring& path) {
  return Narrow(UserPath(path));
}

struct EntryInfo {
  EntryId id;
  EntryKind kind = EntryKind::Other;
};

bool InfoOf(HANDLE h, EntryInfo& info) {
  BY_HANDLE_FILE_INFORMATION data;
  if (!GetFileInformationByHandle(h, &data)) return false;
  FILE_ATTRIBUTE_TAG_INFO tag{};
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
      !GetFileInformationByHandleEx(h, FileAttributeTagInfo, &tag, sizeof tag)) {
    return false;
  }
  info.id = {data.dwVolumeSerialNumber,
             (static_cast<std::uint64_t>(data.nFileIndexHigh) << 32) | data.nFileIndexLow};
  info.kind = win32::KindOf(data.dwFileAttributes, tag.ReparseTag);
  return true;
}

bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The handle's path as the system gives it now, in its long form; empty
// when the system cannot say.
std::wstring FinalPathOf(HANDLE h) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetFinalPathNameByHandleW(h, path.data(), static_cast<DWORD>(path.size()),
                                              FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n == 0) return L"";
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(n + 1);
  }
  return win32::SystemPath(path);
}

// An entry of folder; empty, which reaches nothing, when folder is.
std::wstring Child(const std::wstring& folder, const std::string& name) {
  if (folder.empty()) return folder;
  // A long-form path is taken as it is, so ".." is named by the parent.
  if (name == "..") {
    if (folder.back() == L'\\') return folder;  // a root is its own parent
    std::wstring parent = folder.substr(0, folder.rfind(L'\\'));
    return parent.back() == L':' ? parent + L'\\' : parent;
  }
  return (folder.back() == L'\\' ? folder : folder + L"\\") + Widen(name);
}

// Where the parts below the root start: after "C:\" or "\\server\share\".
size_t RootLength(const std::wstring& path) {
  if (!path.starts_with(L"\\\\")) return std::min<size_t>(path.size(), 3);
  const size_t server = path.find(L'\\', 2);
  const size_t share = server == std::wstring::npos ? server : path.find(L'\\', server + 1);
  return share == std::wstring::npos ? path.size() : share + 1;
}

class WinOpenFolder : public OpenFolder {
 public:
  WinOpenFolder(HANDLE h, EntryId id, std::wstring opened_at, WinPlatform& platform)
      : handle_(h), id_(id), opened_at_(std::move(opened_at)), platform_(platform) {}

  EntryId Id() const override { return id_; }

  // Where the folder is now, in its long form; empty when that cannot be
  // told. Wine gives no path longer than about 120 characters for a handle
  // (and none that follows a rename): then the path the folder was opened
  // at serves while it still leads to this folder.
  std::wstring Path() const {
    if (std::wstring path = FinalPathOf(handle_.Get()); !path.empty()) return path;
    const Handle there(OpenEntry(opened_at_, FILE_READ_ATTRIBUTES));
    EntryInfo info;
    return there.Valid() && InfoOf(there.Get(), info) && info.id == id_ ? opened_at_ : L"";
  }

  std::vector<DirEntry> List(Where where) override {
    return platform_.ListDirectory(Narrow(Path()), where);
  }

  void ForEachEntry(const std::function<void(const DirEntry&)>& visit, Where where) override {
    win32::VisitEntries(Path(), visit, where);
  }

  std::unique_ptr<OpenFolder> OpenChild(const std::string& name, Where where) override {
    const std::wstring path = Child(Path(), name);
    HANDLE h = OpenEntry(path, kFolderAccess);
    if (h == INVALID_HANDLE_VALUE) {
      win32::RaiseWin32(GetLastError(), "Cannot open " + Shown(path), where);
    }
    return Adopt(h, path, platform_, where);
  }

  // A folder is what opens as one without following a reparse point that
  // stands for another name.
  bool IsChildFolder(const std::string& name) override {
    try {
      OpenChild(name, Where::current());
      return true;
    } catch (const Failure&) {
      return false;
    }
  }

  std::optional<EntryId> ChildId(const std::string& name, Where where) override {
    const std::wstring path = Child(Path(), name);
    Handle h(OpenEntry(path, FILE_READ_ATTRIBUTES));
    EntryInfo info;
    if (h.Valid() && InfoOf(h.Get(), info)) return info.id;
    const DWORD error = GetLastError();
    if (IsMissing(error)) return std::nullopt;
    win32::RaiseWin32(error, "Cannot look at " + Shown(path), where);
  }

  FolderTime ModifiedTime(Where where) override {
    FILETIME written;
    if (!GetFileTime(handle_.Get(), nullptr, nullptr, &written)) {
      win32::RaiseWin32(GetLastError(), "Cannot look at " + Shown(Path()), where);
    }
    const std::uint64_t ticks =
        (static_cast<std::uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    return {static_cast<std::int64_t>(ticks / kTicksPerSecond),
            static_cast<std::int64_t>(ticks % kTicksPerSecond)};
  }

  void SetModifiedTime(const FolderTime& time, Where where) override {
    const std::wstring path = Path();
    Handle h(OpenEntry(path, FILE_WRITE_ATTRIBUTES));
    const std::uint64_t ticks =
        static_cast<std::uint64_t>(time.seconds) * kTicksPerSecond + time.fraction;
    const FILETIME written{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    if (!h.Valid() || !SetFileTime(h.Get(), nullptr, nullptr, &written)) {
      win32::RaiseWin32(GetLastError(), "Cannot set the time of " + Shown(path), where);
    }
  }

  MoveResult RenameChild(const std::string& from, const std::string& to) override {
    return MoveChild(from, *this, to);
  }

  MoveResult MoveChild(const std::string& name, OpenFolder& target,
                       const std::string& new_name) override {
    auto& to = static_cast<WinOpenFolder&>(target);
    Handle entry(OpenEntry(Child(Path(), name), DELETE | SYNCHRONIZE));
    if (!entry.Valid()) return {false, win32::Win32Message(GetLastError())};
    const std::wstring destination = Child(to.Path(), new_name);
    if (destination.empty()) return {false, "the folder to move into cannot be found"};
    // FILE_RENAME_INFO ends in a name of variable length.
    std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + destination.size() * sizeof(wchar_t));
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = FALSE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(destination.size() * sizeof(wchar_t));
    destination.copy(info->FileName, destination.size());
    if (SetFileInformationByHandle(entry.Get(), FileRenameInfo, info,
                                   static_cast<DWORD>(buffer.size()))) {
      return {true, ""};
    }
    const DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
      return {false, Shown(destination) + " already exists"};
    }
    return {false, win32::Win32Message(error)};
  }

  MoveResult WriteNewFile(const std::string& name, const std::string& bytes) override {
    const std::wstring path = Child(Path(), name);
    Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.Valid()) {
      const DWORD error = GetLastError();
      if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
        return {false, Shown(path) + " already exists"};
      }
      return {false, win32::Win32Message(error)};
    }
    DWORD written = 0;
    if (WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size() && FlushFileBuffers(file.Get())) {
      return {true, ""};
    }
    const DWORD error = GetLastError();
    file.Close();
    DeleteFileW(path.c_str());
    return {false, "Cannot write " + Shown(path) + ": " + win32::Win32Message(error)};
  }

  std::optional<std::string> ReadChildFile(const std::string& name, std::size_t limit,
                                           Where where) override {
    const std::wstring path = Child(Path(), name);
    Handle file(OpenEntry(path, GENERIC_READ));
    if (!file.Valid()) {
      const DWORD error = GetLastError();
      if (IsMissing(error)) return std::nullopt;
      win32::RaiseWin32(error, "Cannot read " + Shown(path), where);
    }
    EntryInfo info;
    if (!InfoOf(file.Get(), info) || info.kind != EntryKind::File) {
      Raise(err::kPathFileAccess, Shown(path) + " is not a file", where);
    }
    std::string bytes(limit + 1, '\0');
    std::size_t size = 0;
    DWORD got = 1;
    while (size < bytes.size() && got != 0) {
      if (!ReadFile(file.Get(), bytes.data() + size, static_cast<DWORD>(bytes.size() - size), &got,
                    nullptr)) {
        win32::RaiseWin32(GetLastError(), "Cannot read " + Shown(path), where);
      }
      size += got;
    }
    bytes.resize(size);
    return bytes;
  }

  MoveResult RemoveChildFile(const std::string& name) override {
    const std::wstring path = Child(Path(), name);
    Handle entry(OpenEntry(path, DELETE));
    FILE_DISPOSITION_INFO dispose{TRUE};
    if (entry.Valid() &&
        SetFileInformationByHandle(entry.Get(), FileDispositionInfo, &dispose, sizeof dispose)) {
      return {true, ""};
    }
    const DWORD error = GetLastError();
    return {false, "Cannot remove " + Shown(path) + ": " + win32::Win32Message(error)};
  }

  // Takes over h, the handle of the entry at path, when it is a real folder.
  static std::unique_ptr<OpenFolder> Adopt(HANDLE h, const std::wstring& path,
                                           WinPlatform& platform, Where where) {
    Handle owned(h);
    EntryInfo info;
    if (!InfoOf(h, info)) win32::RaiseWin32(GetLastError(), "Cannot open " + Shown(path), where);
    if (info.kind == EntryKind::Link) {
      Raise(err::kPathFileAccess, Shown(path) + " is or passes through a link", where);
    }
    if (info.kind != EntryKind::Directory) {
      Raise(err::kPathNotFound, Shown(path) + " is not a folder", where);
    }
    auto folder = std::make_unique<WinOpenFolder>(h, info.id, win32::SystemPath(path), platform);
    owned.Release();
    return folder;
  }

 private:
  Handle handle_;
  EntryId id_;
  std::wstring opened_at_;  // in its long form
  WinPlatform& platform_;
};

}  // namespace

HANDLE WinPlatform::OpenEntryIn(OpenFolder& folder, const std::string& name, DWORD access) {
  return OpenEntry(Child(static_cast<WinOpenFolder&>(folder).Path(), name), access);
}

OpenedFolder WinPlatform::OpenFolderNoLinks(const std::string& path) {
  // Every part from the root on is opened as the entry itself, so a link
  // anywhere on the way is seen and refused.
  std::wstring wide = Widen(path);
  if (wide.size() == 2 && wide[1] == L':') wide += L'\\';  // "C:" is its root, "C:\"
  const size_t root = RootLength(wide);
  while (wide.size() > root && wide.back() == L'\\') wide.pop_back();
  for (size_t end = root;;) {
    const std::wstring part_path = wide.substr(0, end);
    HANDLE h = OpenEntry(part_path, kFolderAccess);
    if (h == INVALID_HANDLE_VALUE) {
      const DWORD error = GetLastError();
      return {nullptr, IsMissing(error), Narrow(part_path) + ": " + win32::Win32Message(error)};
    }
    try {
      auto folder = WinOpenFolder::Adopt(h, part_path, *this, Where::current());
      if (end >= wide.size()) return {std::move(folder), false, ""};
    } catch (const Failure& f) {
      return {nullptr, false, f.Description()};
    }
    end = std::min(wide.find(L'\\', end + 1), wide.size());
  }
}

}  // namespace veilbox
