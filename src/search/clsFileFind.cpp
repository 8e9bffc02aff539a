#include "search/clsFileFind.h"

#include <exception>
#include <optional>
#include <utility>

#include "diag/Failure.h"
#include "search/NamePattern.h"
#include "search/SearchPath.h"

namespace veilbox {
namespace {

// Appends to one of the caller's lists, whose element 0 stays blank so that
// results start at index 1.
void Append(std::vector<std::string>& list, std::string item) {
  if (list.empty()) list.emplace_back();
  list.push_back(std::move(item));
}

}  // namespace

FindResult clsFileFind::SearchFile(const std::string& pathname, bool sub_folders,
                                   std::vector<std::string>& file_array,
                                   std::vector<std::string>& folder_array, bool case_sensitive) {
  m_Recurse = sub_folders;
  m_CaseSensitive = case_sensitive;
  std::optional<SearchSpec> wanted;
  if (!pathname.empty()) wanted = FileSpec(platform_, pathname);
  if (!wanted) {
    m_ResultFlag = FindResult::PathNameNotValid;
    if (OnFinished) OnFinished(m_ResultFlag, m_Files);
    return m_ResultFlag;
  }
  m_FileSpec = wanted->pattern;
  OpenedFolder opened = platform_.OpenFolderNoLinks(wanted->folder);
  Lists lists{file_array, folder_array};
  m_OtherDrive.clear();
  if (!opened.folder) {
    m_ResultFlag = FindResult::DirExFailed;
    if (OnFinished) OnFinished(m_ResultFlag, m_Files);
    return m_ResultFlag;
  }
  m_FileSystem = opened.folder->FileSystem();
  return Run(*opened.folder, wanted->folder, lists);
}

FindResult clsFileFind::WalkFolder(OpenFolder& root, const FileVisit& on_file) {
  m_Recurse = true;
  m_FileSystem = root.FileSystem();
  m_OtherDrive.clear();
  return Search([&] {
    std::string relative;
    WalkTree(root, relative, on_file);
  });
}

FindResult clsFileFind::Run(OpenFolder& folder, const std::string& path, Lists& lists) {
  return Search([&] { FindFolders(folder, path, lists); });
}

FindResult clsFileFind::Search(const std::function<void()>& search) {
  m_Files = 0;
  m_ResultFlag = FindResult::DirExSuccess;
  try {
    search();
    if (m_Files == 0 && m_ResultFlag == FindResult::DirExSuccess) {
      m_ResultFlag = FindResult::NoFilesFound;
    }
  } catch (const std::exception&) {
    // Any failure, such as a folder that cannot be read, ends the whole
    // search; what was found so far stays found.
    m_ResultFlag = FindResult::DirExFailed;
  }
  if (OnFinished) OnFinished(m_ResultFlag, m_Files);
  return m_ResultFlag;
}

FindResult clsFileFind::ResultFlag() {
  if (PumpEvents) PumpEvents();
  return m_ResultFlag;
}

void clsFileFind::FindFolders(OpenFolder& folder, const std::string& path, Lists& lists) {
  if (ResultFlag() != FindResult::DirExSuccess) return;
  const char separator = platform_.Separator();
  const std::string file_path = path.back() == separator ? path : path + separator;
  // One read of the folder serves both its subfolders and its files.
  const std::vector<DirEntry> entries = folder.List();
  std::vector<std::string> subfolders;
  for (const DirEntry& entry : entries) {
    if (ResultFlag() != FindResult::DirExSuccess) return;
    // A link is never entered, even one to a folder: it could lead out of
    // the tree or back into it.
    if (m_Recurse && entry.kind == EntryKind::Directory) subfolders.push_back(entry.name);
  }
  if (OnCurrentFolder) OnCurrentFolder(Qualify(file_path, separator));
  FindFiles(file_path, entries, lists);
  Append(lists.folders, file_path);
  for (const std::string& name : subfolders) {
    const std::string sub_path = file_path + name + separator;
    FindFolders(*EnterChild(folder, name, sub_path), sub_path, lists);
  }
}

void clsFileFind::WalkTree(OpenFolder& folder, std::string& relative, const FileVisit& on_file) {
  if (ResultFlag() != FindResult::DirExSuccess) return;
  std::vector<std::string> subfolders;
  folder.ForEachEntry([&](const DirEntry& entry) {
    // The stop check, every few thousand entries of a large folder.
    if ((++m_Files & 0xfff) == 0) ResultFlag();
    if (m_ResultFlag != FindResult::DirExSuccess) return;
    // A link is never entered, even one to a folder: it could lead out of
    // the tree or back into it.
    if (entry.kind == EntryKind::Directory) {
      subfolders.push_back(entry.name);
    } else {
      on_file(relative, entry.name, folder);
    }
  });
  const size_t length = relative.size();
  for (const std::string& name : subfolders) {
    if (length > 0) relative += platform_.Separator();
    relative += name;
    WalkTree(*EnterChild(folder, name, relative), relative, on_file);
    relative.resize(length);
  }
}

std::unique_ptr<OpenFolder> clsFileFind::EnterChild(OpenFolder& folder, const std::string& name,
                                                    const std::string& path) {
  std::unique_ptr<OpenFolder> child = folder.OpenChild(name);
  if (child->FileSystem() != m_FileSystem) {
    m_OtherDrive = path;
    Raise(err::kPathFileAccess, path + " lies on another drive");
  }
  return child;
}

void clsFileFind::FindFiles(const std::string& file_path, const std::vector<DirEntry>& entries,
                            Lists& lists) {
  for (const DirEntry& entry : entries) {
    if (!MatchesListingPattern(entry.name, m_FileSpec)) continue;
    if (ResultFlag() != FindResult::DirExSuccess) return;
    if (m_CaseSensitive && !MatchesExactPattern(entry.name, m_FileSpec)) continue;
    // Subfolders that match are counted too, but only other entries (links
    // included) are listed.
    ++m_Files;
    if (entry.kind != EntryKind::Directory) Append(lists.files, file_path + entry.name);
  }
}

}  // namespace veilbox
