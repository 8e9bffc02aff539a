// The platform layer on Linux and other POSIX systems.
#pragma once

#include <string>

#include "platform/PathSeparator.h"
#include "platform/Platform.h"
#include "platform/posix/Mounts.h"

namespace veilbox {

class PosixPlatform : public Platform {
 public:
  std::string ProgramFolder(Where where = Where::current()) override;
  std::string SettingsFolder() override;
  std::optional<std::string> NotPrivate(const std::string& path) override;
  void MakePrivate(const std::string& path, Where where = Where::current()) override;
  char Separator() const override { return kPathSeparator; }
  // The mount point holding the path, with a trailing "/": renames never
  // cross it, so it is what a drive is on Windows.
  std::string DriveKey(const std::string& path) override;
  std::vector<std::string> MountPointsInside(const std::string& folder) override;

  std::optional<std::string> ReadSetting(SettingsRoot root, const std::string& key_path,
                                         const std::string& name) override;
  void WriteSetting(SettingsRoot root, const std::string& key_path, const std::string& name,
                    const std::string& data, Where where = Where::current()) override;

  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  std::vector<DirEntry> ListDirectory(const std::string& folder,
                                      Where where = Where::current()) override;
  std::string ReadFile(const std::string& path, Where where = Where::current()) override;
  void WriteFileAtomic(const std::string& path, const std::string& bytes,
                       Where where = Where::current()) override;
  void RemoveFile(const std::string& path, Where where = Where::current()) override;
  void CreateFolders(const std::string& path, Where where = Where::current()) override;

  OpenedFolder OpenFolderNoLinks(const std::string& path) override;
  MoveResult Rename(const std::string& old_path, const std::string& new_path) override;

  void LockFolder(const std::string& path, Where where = Where::current()) override;
  void UnlockFolder(const std::string& path, Where where = Where::current()) override;

  std::unique_ptr<DataLock> LockData(const DataLockWait& wait,
                                     Where where = Where::current()) override;

  FolderLineage Lineage(const std::string& path) override;
  FolderFacts InspectFolder(const std::string& path) override;
  // mkdir with mode 0700 in the handle of the parent, reached without links.
  void CreatePrivateFolder(const std::string& path, Where where = Where::current()) override;
  std::string HomeFolder() override;
  std::vector<SystemFolder> SystemFolders() override;
  std::string ProcessTag() override;
  bool ProcessRunning(const std::string& tag) override;

 private:
  friend class PosixDataLock;
  MountTable mounts_;
  int lock_fd_ = -1;    // the open lock file while this copy holds the lock
  int lock_depth_ = 0;  // how many holders in this copy share it
};

// The settings file: $XDG_CONFIG_HOME/veilbox/settings.json (default
// ~/.config/veilbox/settings.json).
std::string SettingsFilePath();

}  // namespace veilbox
