#include "platform/posix/PosixPlatform.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "diag/Failure.h"
#include "platform/posix/Mounts.h"
#include "platform/posix/PosixFiles.h"
#include "platform/posix/SettingsFile.h"

namespace veilbox {
namespace fs = std::filesystem;

namespace {

std::string EnvOr(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value && *value ? value : fallback;
}

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/";
}

std::string WithoutTrailingSeparator(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

void SetFolderMode(const std::string& path, fs::perms mode, Where where) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return;
    RaiseErrno(errno, "Cannot change access to " + path, where);
  }
  if (!S_ISDIR(st.st_mode)) {
    Raise(err::kPathFileAccess, "Cannot change access to " + path + ": not a folder", where);
  }
  std::error_code ec;
  fs::permissions(path, mode, fs::perm_options::replace, ec);
  if (ec)
    Raise(err::kPermissionDenied, "Cannot change access to " + path + ": " + ec.message(), where);
}

}  // namespace

std::unique_ptr<Platform> CreatePlatform() {
  return std::make_unique<PosixPlatform>();
}

std::string SettingsFilePath() {
  std::string config = EnvOr("XDG_CONFIG_HOME", HomeFolder() + "/.config");
  return config + "/veilbox/settings.json";
}

std::string PosixPlatform::ProgramFolder(Where where) {
  std::string folder = EnvOr("VEILBOX_HOME", "");
  if (folder.empty()) {
    folder = EnvOr("XDG_DATA_HOME", HomeFolder() + "/.local/share") + "/veilbox";
  }
  folder = WithoutTrailingSeparator(fs::absolute(folder).lexically_normal().string());
  posix::MakeFolders(folder, 0700, where);
  return folder;
}

std::string PosixPlatform::DriveKey(const std::string& path) {
  std::error_code ec;
  fs::path existing = fs::absolute(path, ec).lexically_normal();
  while (!existing.empty() && !fs::exists(fs::symlink_status(existing, ec))) {
    if (existing == existing.root_path()) break;
    existing = existing.parent_path();
  }
  fs::path canonical = fs::canonical(existing, ec);
  if (ec) canonical = existing;
  std::string mountinfo;
  try {
    mountinfo = posix::ReadWholeFile("/proc/self/mountinfo", Where::current());
  } catch (const Failure&) {
    return "/";
  }
  return MountPointOf(canonical.string(), ParseMountPoints(mountinfo));
}

std::optional<std::string> PosixPlatform::ReadSetting(SettingsRoot root,
                                                      const std::string& key_path,
                                                      const std::string& name) {
  if (root != SettingsRoot::CurrentUser) return std::nullopt;
  return posix::ReadSettingValue(SettingsFilePath(), key_path, name);
}

void PosixPlatform::WriteSetting(SettingsRoot root, const std::string& key_path,
                                 const std::string& name, const std::string& data, Where where) {
  if (root != SettingsRoot::CurrentUser) {
    Raise(err::kPermissionDenied, "Machine-wide settings are read-only", where);
  }
  // Read, changed and written whole: no other copy may write in between.
  auto lock = LockData({}, where);
  posix::WriteSettingValue(SettingsFilePath(), key_path, name, data, where);
}

bool PosixPlatform::FileExists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::lstat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool PosixPlatform::FolderExists(const std::string& path) {
  struct stat st;
  return !path.empty() && ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<DirEntry> PosixPlatform::ListDirectory(const std::string& folder, Where where) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) RaiseErrno(errno, "Cannot list " + folder, where);
  return posix::ListOpenDirectory(fd, folder, where);
}

std::string PosixPlatform::ReadFile(const std::string& path, Where where) {
  return posix::ReadWholeFile(path, where);
}

void PosixPlatform::WriteFileAtomic(const std::string& path, const std::string& bytes,
                                    Where where) {
  posix::WriteAtomically(path, bytes, where);
}

void PosixPlatform::RemoveFile(const std::string& path, Where where) {
  if (::unlink(path.c_str()) != 0) RaiseErrno(errno, "Cannot delete " + path, where);
}

void PosixPlatform::CreateFolders(const std::string& path, Where where) {
  posix::MakeFolders(path, 0777, where);
}

void PosixPlatform::LockFolder(const std::string& path, Where where) {
  SetFolderMode(path, fs::perms::none, where);
}

void PosixPlatform::UnlockFolder(const std::string& path, Where where) {
  SetFolderMode(path, fs::perms::owner_all, where);
}

}  // namespace veilbox
