#include "platform/win32/WinFiles.h"

#include <filesystem>
#include <vector>

#include "diag/Failure.h"
#include "platform/win32/Handle.h"
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

}  // namespace

DWORD Attributes(const std::wstring& path) {
  return GetFileAttributesW(path.c_str());
}

bool IsRealFolder(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

void WriteAtomically(const std::wstring& path, const std::string& bytes, Where where) {
  const fs::path target = fs::path(path);
  std::wstring temp;
  Handle file(CreateTemporary(target, temp));
  if (!file.Valid()) RaiseWin32(GetLastError(), "Cannot write " + Narrow(path), where);
  bool done = WriteAll(file.Get(), bytes) && FlushFileBuffers(file.Get());
  DWORD error = GetLastError();
  if (!file.Close() && done) {
    done = false;
    error = GetLastError();
  }
  if (done &&
      MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return;
  }
  if (done) error = GetLastError();
  DeleteFileW(temp.c_str());
  RaiseWin32(error, "Cannot write " + Narrow(path), where);
}

std::string ReadWholeFile(const std::wstring& path, Where where) {
  Handle file(CreateFileW(path.c_str(), GENERIC_READ,
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
    const DWORD attributes = Attributes(q.wstring());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
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
    if (!CreateDirectoryW(it->c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
      RaiseWin32(GetLastError(), "Cannot create folder " + Narrow(it->wstring()), where);
    }
  }
}

}  // namespace veilbox::win32
