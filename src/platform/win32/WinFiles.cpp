#include "platform/win32/WinFiles.h"

#include <filesystem>
#include <memory>
#include <vector>

#include "diag/Failure.h"
#include "platform/win32/Handle.h"
#include "platform/win32/LongPath.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WinError.h"

namespace veilbox::win32 {
namespace fs = std::filesystem;

namespace {

bool WriteAll(HANDLE file, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

// A new, empty temporary file beside target, opened for writing.
HANDLE CreateTemporary(const fs::path& target, std::wstring& name) {
  const std::wstring stem =
      L"." + target.filename().wstring() + L".tmp-" + std::to_wstring(GetCurrentProcessId()) + L"-";
  for (unsigned n = 0;; ++n) {
    name = (target.parent_path() / (stem + std::to_wstring(n))).wstring();
    HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS || n > 1000) return h;
  }
}

struct FindCloser {
  void operator()(HANDLE find) const { FindClose(find); }
};
using Find = std::unique_ptr<void, FindCloser>;

}  // namespace

EntryKind KindOf(DWORD attributes, DWORD reparse_tag) {
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsReparseTagNameSurrogate(reparse_tag)) {
    return EntryKind::Link;
  }
  return attributes & FILE_ATTRIBUTE_DIRECTORY ? EntryKind::Directory : EntryKind::File;
}

std::optional<EntryKind> KindAt(const std::wstring& path) {
  std::wstring system = SystemPath(path);
  const DWORD attributes = GetFileAttributesW(system.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return KindOf(attributes, 0);
  // The tag is in the entry's listing, which names no folder by a trailing
  // separator; a root has none, and its own handle tells.
  while (system.size() > 7 && system.back() == L'\\') system.pop_back();
  WIN32_FIND_DATAW data;
  const Find found(
      FindFirstFileExW(system.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
  if (found.get() != INVALID_HANDLE_VALUE) return KindOf(data.dwFileAttributes, data.dwReserved0);
  const Handle entry(CreateFileW(
      system.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  FILE_ATTRIBUTE_TAG_INFO tag;
  if (entry.Valid() &&
      GetFileInformationByHandleEx(entry.Get(), FileAttributeTagInfo, &tag, sizeof tag)) {
    return KindOf(tag.FileAttributes, tag.ReparseTag);
  }
  return EntryKind::Link;
}

void VisitEntries(const std::wstring& folder, const std::function<void(const DirEntry&)>& visit,
                  Where where) {
  if (folder.empty())
    RaiseWin32(ERROR_PATH_NOT_FOUND, "Cannot list a folder whose place is unknown", where);
  std::wstring pattern = SystemPath(folder);
  if (pattern.back() != L'\\') pattern += L'\\';
  pattern += L'*';
  WIN32_FIND_DATAW data;
  const Find found(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                    nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (found.get() == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return;  // a drive root with nothing on it
    RaiseWin32(error, "Cannot list " + Narrow(UserPath(folder)), where);
  }
  do {
    const std::wstring_view name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    const bool hidden = data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    visit({Narrow(data.cFileName), KindOf(data.dwFileAttributes, data.dwReserved0), hidden});
  } while (FindNextFileW(found.get(), &data));
  const DWORD error = GetLastError();
  if (error != ERROR_NO_MORE_FILES) {
    RaiseWin32(error, "Cannot list " + Narrow(UserPath(folder)), where);
  }
}

void WriteAtomically(const std::wstring& path, const std::string& bytes, Where where) {
  const fs::path target = fs::path(SystemPath(path));
  std::wstring temp;
  Handle file(CreateTemporary(target, temp));
  if (!file.Valid()) RaiseWin32(GetLastError(), "Cannot write " + Narrow(path), where);
  bool done = WriteAll(file.Get(), bytes) && FlushFileBuffers(file.Get());
  DWORD error = GetLastError();
  if (!file.Close() && done) {
    done = false;
    error = GetLastError();
  }
  if (done && MoveFileExW(temp.c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return;
  }
  if (done) error = GetLastError();
  DeleteFileW(temp.c_str());
  RaiseWin32(error, "Cannot write " + Narrow(path), where);
}

std::string ReadWholeFile(const std::wstring& path, Where where) {
  Handle file(CreateFileW(SystemPath(path).c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) RaiseWin32(GetLastError(), "Cannot read " + Narrow(path), where);
  std::string content;
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr)) {
      RaiseWin32(GetLastError(), "Cannot read " + Narrow(path), where);
    }
    if (got == 0) return content;
    content.append(buffer, got);
  }
}

void MakeFolders(const std::wstring& path, Where where) {
  const fs::path p = fs::path(path).lexically_normal();
  std::vector<fs::path> missing;
  for (fs::path q = p; !q.empty() && q != q.root_path(); q = q.parent_path()) {
    if (q.filename().empty()) continue;  // a trailing separator
    if (const std::optional<EntryKind> kind = KindAt(q.wstring())) {
      if (*kind == EntryKind::File) {
        Raise(err::kPathFileAccess,
              "Cannot create folder " + Narrow(path) + ": " + Narrow(q.wstring()) +
                  " is not a folder",
              where);
      }
      break;
    }
    missing.push_back(q);
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    if (!CreateDirectoryW(SystemPath(it->wstring()).c_str(), nullptr) &&
        GetLastError() != ERROR_ALREADY_EXISTS) {
      RaiseWin32(GetLastError(), "Cannot create folder " + Narrow(it->wstring()), where);
    }
  }
}

}  // namespace veilbox::win32
