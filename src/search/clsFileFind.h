// clsFileFind: lists the files of a folder tree. The files of a folder come
// before those of its subfolders, which follow in listing order (pre-order).
// WalkFolder hands over each file as it is read instead of listing them, so
// that a tree of any size is walked in little memory.
// Every folder is opened without following links and its sub-folders are
// opened through it: symbolic links are listed as files and never entered,
// and a folder swapped for a link during the walk ends it, so a walk never
// leaves the folder it was given. Nor does it leave the folder's file
// system: a sub-folder where another drive is mounted ends the walk too.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace veilbox {

enum class FindResult : std::int32_t {
  DirExSuccess = 0,         // search running, or finished normally
  UserCanceled = 1120,      // StopSearch was called
  PathNameNotValid = 1121,  // empty search path, or its folder does not exist
  NoFilesFound = 1122,      // finished normally but counted no entries
  DirExFailed = 1123,       // a failure during the search, such as an unreadable folder
};

class clsFileFind {
 public:
  explicit clsFileFind(Platform& platform) : platform_(platform) {}

  // Runs a whole search. A path ending in a separator names the folder to
  // list; otherwise its last part is a name pattern in the folder before it.
  // Appends each file found, as folder path plus name, to file_array, and
  // each folder visited, with a trailing separator, to folder_array. Element
  // 0 of a list stays blank: an empty list gets the blank element first.
  FindResult SearchFile(const std::string& pathname, bool sub_folders,
                        std::vector<std::string>& file_array,
                        std::vector<std::string>& folder_array, bool case_sensitive = false);

  // Each file found: the path of its folder relative to the walked folder
  // ("" for that folder itself, parts joined by the separator), its name,
  // and that folder, open, for looking at the file's neighbours.
  using FileVisit =
      std::function<void(const std::string& folder, const std::string& name, OpenFolder& in)>;

  // Walks the whole tree below an open folder, reading each folder as a
  // stream: on_file gets every entry that is not a folder (links included),
  // the files of a folder before those of its sub-folders. Only the names of
  // sub-folders still to be entered are held. Results as SearchFile gives.
  FindResult WalkFolder(OpenFolder& root, const FileVisit& on_file);

  // Where the last search met a sub-folder on another file system than the
  // folder it was given, and stopped: its path as on_file gets folders
  // (WalkFolder) or its full path (SearchFile). Empty when it met none.
  const std::string& OtherDrive() const { return m_OtherDrive; }

  // A running search notices this at its next check and unwinds.
  void StopSearch() { m_ResultFlag = FindResult::UserCanceled; }

  // SearchFile overwrites both from its arguments.
  bool CaseSensitive() const { return m_CaseSensitive; }
  void SetCaseSensitive(bool value) { m_CaseSensitive = value; }
  bool RecursiveSearch() const { return m_Recurse; }
  void SetRecursiveSearch(bool value) { m_Recurse = value; }

  // The result of the running or last search, and the entries it counted
  // (files, and subfolders that match the pattern).
  FindResult Result() const { return m_ResultFlag; }
  std::int32_t FileCount() const { return m_Files; }

  // Runs pending user-interface events; called at every check of the stop
  // flag, so that a handler can call StopSearch. May be empty.
  std::function<void()> PumpEvents;
  // Raised with each folder as it is entered, without a trailing separator.
  std::function<void(const std::string& folder)> OnCurrentFolder;
  // Raised when SearchFile ends, with the result and the entries counted.
  std::function<void(FindResult result, std::int32_t count)> OnFinished;

 private:
  struct Lists {
    std::vector<std::string>& files;
    std::vector<std::string>& folders;
  };

  // Lets pending events run, then gives the flag: the stop check.
  FindResult ResultFlag();
  // Runs one search below folder, catching what ends it.
  FindResult Run(OpenFolder& folder, const std::string& path, Lists& lists);
  // Runs search with the count and result reset, and reports its result.
  FindResult Search(const std::function<void()>& search);
  void FindFolders(OpenFolder& folder, const std::string& path, Lists& lists);
  void FindFiles(const std::string& file_path, const std::vector<DirEntry>& entries, Lists& lists);
  // Opens a sub-folder of a folder being searched; raises, noting path in
  // m_OtherDrive, when it lies on another file system than the search's.
  std::unique_ptr<OpenFolder> EnterChild(OpenFolder& folder, const std::string& name,
                                         const std::string& path);
  // Walks below folder, whose relative path is relative (restored on return).
  void WalkTree(OpenFolder& folder, std::string& relative, const FileVisit& on_file);

  Platform& platform_;
  std::int32_t m_Files = 0;
  std::string m_FileSpec = "*.*";
  bool m_Recurse = false;
  bool m_CaseSensitive = false;
  FindResult m_ResultFlag = FindResult::DirExSuccess;
  std::uint64_t m_FileSystem = 0;  // of the folder the running search was given
  std::string m_OtherDrive;
};

}  // namespace veilbox
