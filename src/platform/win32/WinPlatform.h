// The platform layer on Windows: the registry for settings, the folder of
// the executable for the program's data, drive letters for drives, and the
// security calls for locking store folders. Every path goes to the system in
// its long "\\?\" form (LongPath.h).
#pragma once

#include <windows.h>

#include <string>

#include "platform/PathSeparator.h"
#include "platform/Platform.h"

namespace veilbox {

// When set, the per-user settings live below HKEY_CURRENT_USER\<its value>
// instead of directly below HKEY_CURRENT_USER, so that a test run keeps its
// own.
constexpr const char* kRegistryRootVariable = "VEILBOX_REGISTRY_ROOT";

class WinPlatform : public Platform {
 public:
  // %VEILBOX_HOME% when set, otherwise the folder of the executable.
  std::string ProgramFolder(Where where = Where::current()) override;
  // Empty: the settings live in the registry.
  std::string SettingsFolder() override;
  std::optional<std::string> NotPrivate(const std::string& path) override;
  void MakePrivate(const std::string& path, Where where = Where::current()) override;
  char Separator() const override { return kPathSeparator; }
  // What the long form takes: 32,767 UTF-16 units with the terminating NUL
  // and the "\\?\UNC\" that stands for a share's leading "\\".
  size_t MaxPathLength() const override;
  // The first three characters of the path ("D:\").
  std::string DriveKey(const std::string& path) override;
  // None: a volume is mounted on a reparse point, which walks and moves take
  // as a link and never enter, and every folder opened is checked against
  // its parent's volume.
  std::vector<std::string> MountPointsInside(const std::string& folder) override;

  std::optional<std::string> ReadSetting(SettingsRoot root, const std::string& key_path,
                                         const std::string& name) override;
  void WriteSetting(SettingsRoot root, const std::string& key_path, const std::string& name,
                    const std::string& data, Where where = Where::current()) override;

  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  // Symbolic links, junctions and volume mount points are reported as links;
  // hidden and system entries are marked as such.
  std::vector<DirEntry> ListDirectory(const std::string& folder,
                                      Where where = Where::current()) override;
  std::string ReadFile(const std::string& path, Where where = Where::current()) override;
  void WriteFileAtomic(const std::string& path, const std::string& bytes,
                       Where where = Where::current()) override;
  void RemoveFile(const std::string& path, Where where = Where::current()) override;
  void CreateFolders(const std::string& path, Where where = Where::current()) override;

  // Symbolic links, junctions and volume mount points count as links; other
  // reparse points (cloud, deduplicated, compressed) are ordinary entries.
  OpenedFolder OpenFolderNoLinks(const std::string& path) override;
  MoveResult Rename(const std::string& old_path, const std::string& new_path) override;

  // Sets the folder's access list through a handle on the folder itself
  // (AccessControl.h): a lock denies the Users group, an unlock takes the
  // folder's own entries for Users away.
  void LockFolder(const std::string& path, Where where = Where::current()) override;
  void UnlockFolder(const std::string& path, Where where = Where::current()) override;

  std::unique_ptr<DataLock> LockData(const DataLockWait& wait,
                                     Where where = Where::current()) override;

  // The folder and each one above it by its path, as the system reaches
  // them (through a link, to its target).
  FolderLineage Lineage(const std::string& path) override;
  // Links as for OpenFolderNoLinks; the owner is compared with the process
  // token's user.
  FolderFacts InspectFolder(const std::string& path) override;
  // A protected access list for the user and the system alone, inherited by
  // what is made inside.
  void CreatePrivateFolder(const std::string& path, Where where = Where::current()) override;
  // %USERPROFILE%.
  std::string HomeFolder() override;
  std::vector<SystemFolder> SystemFolders() override;
  std::string ProcessTag() override;
  bool ProcessRunning(const std::string& tag) override;

  // The Windows folder: the machine's SystemRoot setting, or where the
  // system says when that is absent.
  std::string WindowsFolder();

 private:
  void ChangeAccess(const std::string& path, bool lock, Where where);
  // The entry name of folder (opened by OpenFolderNoLinks) itself, opened
  // with access; INVALID_HANDLE_VALUE, with GetLastError set, when it cannot
  // be.
  HANDLE OpenEntryIn(OpenFolder& folder, const std::string& name, DWORD access);

  friend class WinDataLock;
  HANDLE lock_file_ = INVALID_HANDLE_VALUE;  // while this copy holds the lock
  int lock_depth_ = 0;                       // how many holders in this copy share it
};

}  // namespace veilbox
