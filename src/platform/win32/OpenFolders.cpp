// Folders opened without following reparse points (junctions, symbolic
// links), and the work done relative to them. A folder is held by a handle
// that follows it when it moves; its entries are reached through the path
// the system gives for that handle at the moment of use, and every entry is
// opened with FILE_FLAG_OPEN_REPARSE_POINT so that a link is never entered.
// A move renames the entry through its own handle, so it is the entry that
// was opened that moves.
#include <windows.h>

#include <vector>

#include "diag/Failure.h"
#include "platform/win32/Handle.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WinError.h"
#include "platform/win32/WinPlatform.h"

namespace veilbox {
using win32::Handle;
using win32::Narrow;
using win32::Widen;

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kEntryFlags = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;
constexpr std::uint64_t kTicksPerSecond = 10'000'000;  // a FILETIME counts 100 ns ticks
constexpr DWORD kFolderAccess = FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE;

HANDLE OpenEntry(const std::wstring& path, DWORD access) {
  return CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING, kEntryFlags, nullptr);
}

struct EntryInfo {
  EntryId id;
  DWORD attributes = 0;
};

bool InfoOf(HANDLE h, EntryInfo& info) {
  BY_HANDLE_FILE_INFORMATION data;
  if (!GetFileInformationByHandle(h, &data)) return false;
  info.id = {data.dwVolumeSerialNumber,
             (static_cast<std::uint64_t>(data.nFileIndexHigh) << 32) | data.nFileIndexLow};
  info.attributes = data.dwFileAttributes;
  return true;
}

bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The handle's path as the system gives it now, without the "\\?\" prefix.
std::wstring PathOf(HANDLE h) {
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
  if (path.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\\\" + path.substr(8);
  if (path.rfind(L"\\\\?\\", 0) == 0) return path.substr(4);
  return path;
}

std::wstring Child(const std::wstring& folder, const std::string& name) {
  return (folder.empty() || folder.back() == L'\\' ? folder : folder + L"\\") + Widen(name);
}

class WinOpenFolder : public OpenFolder {
 public:
  WinOpenFolder(HANDLE h, EntryId id, WinPlatform& platform)
      : handle_(h), id_(id), platform_(platform) {}

  EntryId Id() const override { return id_; }

  std::vector<DirEntry> List(Where where) override {
    return platform_.ListDirectory(Narrow(PathOf(handle_.Get())), where);
  }

  std::unique_ptr<OpenFolder> OpenChild(const std::string& name, Where where) override {
    const std::wstring path = Child(PathOf(handle_.Get()), name);
    HANDLE h = OpenEntry(path, kFolderAccess);
    if (h == INVALID_HANDLE_VALUE) {
      win32::RaiseWin32(GetLastError(), "Cannot open " + Narrow(path), where);
    }
    return Adopt(h, path, platform_, where);
  }

  std::optional<EntryId> ChildId(const std::string& name, Where where) override {
    const std::wstring path = Child(PathOf(handle_.Get()), name);
    Handle h(OpenEntry(path, FILE_READ_ATTRIBUTES));
    EntryInfo info;
    if (h.Valid() && InfoOf(h.Get(), info)) return info.id;
    const DWORD error = GetLastError();
    if (IsMissing(error)) return std::nullopt;
    win32::RaiseWin32(error, "Cannot look at " + Narrow(path), where);
  }

  FolderTime ModifiedTime(Where where) override {
    FILETIME written;
    if (!GetFileTime(handle_.Get(), nullptr, nullptr, &written)) {
      win32::RaiseWin32(GetLastError(), "Cannot look at " + Narrow(PathOf(handle_.Get())), where);
    }
    const std::uint64_t ticks =
        (static_cast<std::uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    return {static_cast<std::int64_t>(ticks / kTicksPerSecond),
            static_cast<std::int64_t>(ticks % kTicksPerSecond)};
  }

  void SetModifiedTime(const FolderTime& time, Where where) override {
    const std::wstring path = PathOf(handle_.Get());
    Handle h(OpenEntry(path, FILE_WRITE_ATTRIBUTES));
    const std::uint64_t ticks =
        static_cast<std::uint64_t>(time.seconds) * kTicksPerSecond + time.fraction;
    const FILETIME written{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    if (!h.Valid() || !SetFileTime(h.Get(), nullptr, nullptr, &written)) {
      win32::RaiseWin32(GetLastError(), "Cannot set the time of " + Narrow(path), where);
    }
  }

  MoveResult RenameChild(const std::string& from, const std::string& to) override {
    return MoveChild(from, *this, to);
  }

  MoveResult MoveChild(const std::string& name, OpenFolder& target,
                       const std::string& new_name) override {
    auto& to = static_cast<WinOpenFolder&>(target);
    Handle entry(OpenEntry(Child(PathOf(handle_.Get()), name), DELETE | SYNCHRONIZE));
    if (!entry.Valid()) return {false, win32::Win32Message(GetLastError())};
    const std::wstring destination = Child(PathOf(to.handle_.Get()), new_name);
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
      return {false, Narrow(destination) + " already exists"};
    }
    return {false, win32::Win32Message(error)};
  }

  MoveResult WriteNewFile(const std::string& name, const std::string& bytes) override {
    const std::wstring path = Child(PathOf(handle_.Get()), name);
    Handle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file.Valid()) {
      const DWORD error = GetLastError();
      if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
        return {false, Narrow(path) + " already exists"};
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
    return {false, "Cannot write " + Narrow(path) + ": " + win32::Win32Message(error)};
  }

  std::optional<std::string> ReadChildFile(const std::string& name, std::size_t limit,
                                           Where where) override {
    const std::wstring path = Child(PathOf(handle_.Get()), name);
    Handle file(OpenEntry(path, GENERIC_READ));
    if (!file.Valid()) {
      const DWORD error = GetLastError();
      if (IsMissing(error)) return std::nullopt;
      win32::RaiseWin32(error, "Cannot read " + Narrow(path), where);
    }
    EntryInfo info;
    if (!InfoOf(file.Get(), info) ||
        (info.attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
      Raise(err::kPathFileAccess, Narrow(path) + " is not a file", where);
    }
    std::string bytes(limit + 1, '\0');
    std::size_t size = 0;
    DWORD got = 1;
    while (size < bytes.size() && got != 0) {
      if (!ReadFile(file.Get(), bytes.data() + size, static_cast<DWORD>(bytes.size() - size), &got,
                    nullptr)) {
        win32::RaiseWin32(GetLastError(), "Cannot read " + Narrow(path), where);
      }
      size += got;
    }
    bytes.resize(size);
    return bytes;
  }

  MoveResult RemoveChildFile(const std::string& name) override {
    const std::wstring path = Child(PathOf(handle_.Get()), name);
    Handle entry(OpenEntry(path, DELETE));
    FILE_DISPOSITION_INFO dispose{TRUE};
    if (entry.Valid() &&
        SetFileInformationByHandle(entry.Get(), FileDispositionInfo, &dispose, sizeof dispose)) {
      return {true, ""};
    }
    const DWORD error = GetLastError();
    return {false, "Cannot remove " + Narrow(path) + ": " + win32::Win32Message(error)};
  }

  // Takes over h, the handle of the entry at path, when it is a real folder.
  static std::unique_ptr<OpenFolder> Adopt(HANDLE h, const std::wstring& path,
                                           WinPlatform& platform, Where where) {
    Handle owned(h);
    EntryInfo info;
    if (!InfoOf(h, info)) win32::RaiseWin32(GetLastError(), "Cannot open " + Narrow(path), where);
    if (info.attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
      Raise(err::kPathFileAccess, Narrow(path) + " is a link", where);
    }
    if (!(info.attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      Raise(err::kPathNotFound, Narrow(path) + " is not a folder", where);
    }
    auto folder = std::make_unique<WinOpenFolder>(h, info.id, platform);
    owned.Release();
    return folder;
  }

 private:
  Handle handle_;
  EntryId id_;
  WinPlatform& platform_;
};

}  // namespace

OpenedFolder WinPlatform::OpenFolderNoLinks(const std::string& path) {
  // Every part from the drive root on is opened as the entry itself, so a
  // junction or link anywhere on the way is seen and refused.
  std::wstring wide = Widen(path);
  while (wide.size() > 3 && wide.back() == L'\\') wide.pop_back();
  std::wstring part_path;
  size_t start = 0;
  for (;;) {
    size_t end = wide.find(L'\\', start);
    if (end == std::wstring::npos) end = wide.size();
    part_path = wide.substr(0, end == 2 ? 3 : end);  // "C:" is opened as "C:\"
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
    start = end + 1;
  }
}

}  // namespace veilbox
