// Moves and renames. A move within one volume is a rename (MoveFileEx
// without MOVEFILE_REPLACE_EXISTING, so it never replaces anything); across
// volumes it is a copy, verified against the original and made under a
// passing name, then the original's removal. Links are renamed as entries,
// never entered; across volumes a tree holding one is not moved at all.
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "diag/Failure.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WinError.h"
#include "platform/win32/WinFiles.h"
#include "platform/win32/WinPlatform.h"

namespace veilbox {
namespace fs = std::filesystem;
using win32::Attributes;
using win32::Narrow;
using win32::Widen;

namespace {

MoveResult Failed(const std::string& reason) {
  return {false, reason};
}

bool EntryExists(const std::wstring& path) {
  return Attributes(path) != INVALID_FILE_ATTRIBUTES;
}

std::runtime_error Problem(const std::wstring& path, const std::string& what) {
  return std::runtime_error(Narrow(path) + ": " + what);
}

// The names in a folder, "." and ".." left out.
std::vector<std::wstring> Names(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) throw Problem(folder, win32::Win32Message(GetLastError()));
  do {
    const std::wstring name = data.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find, &data));
  const DWORD error = GetLastError();
  FindClose(find);
  if (error != ERROR_NO_MORE_FILES) throw Problem(folder, win32::Win32Message(error));
  return names;
}

std::string FileContent(const std::wstring& path) {
  return win32::ReadWholeFile(path, Where::current());
}

// Copies one entry to a target that does not exist yet, checking each file
// against its original.
void CopyVerified(const std::wstring& source, const std::wstring& target) {
  const DWORD attributes = Attributes(source);
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    throw Problem(source, win32::Win32Message(GetLastError()));
  }
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    throw Problem(source, "a link is not copied to another drive");
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    if (!CreateDirectoryExW(source.c_str(), target.c_str(), nullptr)) {
      throw Problem(target, win32::Win32Message(GetLastError()));
    }
    for (const std::wstring& name : Names(source)) {
      CopyVerified(source + L"\\" + name, target + L"\\" + name);
    }
    return;
  }
  if (!CopyFileExW(source.c_str(), target.c_str(), nullptr, nullptr, nullptr,
                   COPY_FILE_FAIL_IF_EXISTS)) {
    throw Problem(target, win32::Win32Message(GetLastError()));
  }
  try {
    if (FileContent(source) != FileContent(target)) throw Problem(target, "copy differs");
  } catch (const Failure& f) {
    throw Problem(target, f.Description());
  }
}

// Removes an entry and everything in it; a link is removed, never entered.
bool RemoveTree(const std::wstring& path) {
  const DWORD attributes = Attributes(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return GetLastError() == ERROR_FILE_NOT_FOUND;
  if (attributes & FILE_ATTRIBUTE_READONLY) {
    SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return DeleteFileW(path.c_str()) != 0;
  bool all = true;
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    try {
      for (const std::wstring& name : Names(path)) all = RemoveTree(path + L"\\" + name) && all;
    } catch (const std::runtime_error&) {
      return false;
    }
  }
  return RemoveDirectoryW(path.c_str()) != 0 && all;
}

MoveResult MoveAcrossVolumes(const std::wstring& source, const std::wstring& target) {
  const fs::path t(target);
  const std::wstring partial =
      (t.parent_path() / (L"." + t.filename().wstring() + L".veilbox-partial")).wstring();
  try {
    RemoveTree(partial);
    CopyVerified(source, partial);
    if (!MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
      throw Problem(target, win32::Win32Message(GetLastError()));
    }
  } catch (const std::exception& e) {
    RemoveTree(partial);
    return Failed(std::string("copy failed: ") + e.what());
  }
  if (!RemoveTree(source)) {
    // The verified copy is complete; what is left of the original is a
    // duplicate, so the move has happened.
    return {true, "the original could not be removed completely"};
  }
  return {true, ""};
}

}  // namespace

DWORD WinPlatform::MoveNoReplace(const std::wstring& from, const std::wstring& to) {
  return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH) ? 0 : GetLastError();
}

MoveResult WinPlatform::MoveFolder(const std::string& source, const std::string& destination) {
  const std::wstring from = Widen(source);
  if (!EntryExists(from)) return Failed(source + " does not exist");
  std::wstring target = Widen(destination);
  if (FolderExists(destination)) {
    target = (fs::path(target) / fs::path(from).filename()).wstring();
  }
  if (EntryExists(target)) return Failed(Narrow(target) + " already exists");
  try {
    win32::MakeFolders(fs::path(target).parent_path().wstring(), Where::current());
  } catch (const Failure& f) {
    return Failed(f.Description());
  }
  const DWORD error = MoveNoReplace(from, target);
  if (error == 0) return {true, ""};
  if (error == ERROR_NOT_SAME_DEVICE) return MoveAcrossVolumes(from, target);
  return Failed(win32::Win32Message(error));
}

MoveResult WinPlatform::Rename(const std::string& old_path, const std::string& new_path) {
  const DWORD error = MoveNoReplace(Widen(old_path), Widen(new_path));
  if (error == 0) return {true, ""};
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
    return Failed(new_path + " already exists");
  }
  return Failed(win32::Win32Message(error));
}

}  // namespace veilbox
