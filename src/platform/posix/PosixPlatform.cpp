#include "platform/posix/PosixPlatform.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "diag/Failure.h"
#include "platform/posix/Mounts.h"
#include "platform/posix/NoLinkWalk.h"
#include "platform/posix/PosixFiles.h"
#include "platform/posix/SettingsFile.h"

namespace veilbox {
namespace fs = std::filesystem;

namespace {

std::string EnvOr(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value && *value ? value : fallback;
}

std::string HomeFromEnvironment() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return "/";
}

std::string WithoutTrailingSeparator(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// Changes the mode through the handle of the folder that holds it, never
// following a link, so a link planted on the path is refused rather than
// obeyed. Works on a locked (000) folder as its owner.
void SetFolderMode(const std::string& path, mode_t mode, Where where) {
  const std::string what = "Cannot change access to " + path;
  const posix::ParentWalk walk = posix::WalkToParent(path);
  if (!walk.parent.Valid()) {
    if (walk.error == ENOENT) return;
    if (walk.error == ELOOP)
      Raise(err::kPathFileAccess, what + ": " + walk.stopped + " is a link", where);
    RaiseErrno(walk.error, what, where);
  }
  struct stat st;
  if (::fstatat(walk.parent.Get(), walk.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno == ENOENT) return;
    RaiseErrno(errno, what, where);
  }
  if (S_ISLNK(st.st_mode)) Raise(err::kPathFileAccess, what + ": it is a link", where);
  if (!S_ISDIR(st.st_mode)) Raise(err::kPathFileAccess, what + ": not a folder", where);
  if (::fchmodat(walk.parent.Get(), walk.name.c_str(), mode, AT_SYMLINK_NOFOLLOW) != 0) {
    RaiseErrno(errno, what, where);
  }
}

}  // namespace

std::unique_ptr<Platform> CreatePlatform() {
  return std::make_unique<PosixPlatform>();
}

std::string SettingsFilePath() {
  std::string config = EnvOr("XDG_CONFIG_HOME", HomeFromEnvironment() + "/.config");
  return config + "/veilbox/settings.json";
}

std::string PosixPlatform::SettingsFolder() {
  return fs::path(SettingsFilePath()).parent_path().string();
}

std::optional<std::string> PosixPlatform::NotPrivate(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return std::nullopt;
    return std::string("cannot be looked at (") + std::strerror(errno) + ")";
  }
  if (S_ISLNK(st.st_mode)) return "is a link";
  if (st.st_uid != ::geteuid()) return "belongs to another user";
  if (st.st_mode & (S_IWGRP | S_IWOTH)) {
    char mode[8];
    std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(st.st_mode & 07777));
    return std::string("can be changed by other users (its mode is ") + mode + ")";
  }
  return std::nullopt;
}

void PosixPlatform::MakePrivate(const std::string& path, Where where) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  const bool made = fd >= 0 && ::fchmod(fd, 0600) == 0;
  const int error_code = errno;
  if (fd >= 0) ::close(fd);
  if (!made) RaiseErrno(error_code, "Cannot make " + path + " private", where);
}

std::string PosixPlatform::ProgramFolder(Where where) {
  std::string folder = EnvOr("VEILBOX_HOME", "");
  if (folder.empty()) {
    folder = EnvOr("XDG_DATA_HOME", HomeFromEnvironment() + "/.local/share") + "/veilbox";
  }
  folder = WithoutTrailingSeparator(fs::absolute(folder).lexically_normal().string());
  posix::MakeFolders(folder, 0700, where);
  return folder;
}

namespace {

// The nearest part of the path that exists, with every link on it resolved:
// the kernel's name of the open file, as the mount table writes its paths.
fs::path CanonicalOfNearest(const std::string& path) {
  std::error_code ec;
  fs::path existing = fs::absolute(path, ec).lexically_normal();
  for (;;) {
    const int fd = ::open(existing.c_str(), O_PATH | O_CLOEXEC);
    if (fd >= 0) {
      char resolved[PATH_MAX];
      const ssize_t size =
          ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), resolved, sizeof resolved);
      ::close(fd);
      fs::path canonical =
          size > 0 && size < static_cast<ssize_t>(sizeof resolved) && resolved[0] == '/'
              ? fs::path(std::string(resolved, size))
              : fs::canonical(existing, ec);
      return ec ? existing : canonical;
    }
    if (existing.empty() || existing == existing.root_path()) return existing;
    existing = existing.parent_path();
  }
}

}  // namespace

std::string PosixPlatform::DriveKey(const std::string& path) {
  const std::vector<std::string>& points = mounts_.Points();
  if (points.empty()) return "/";
  return MountPointOf(CanonicalOfNearest(path).string(), points);
}

std::vector<std::string> PosixPlatform::MountPointsInside(const std::string& folder) {
  std::string canonical = CanonicalOfNearest(folder).string();
  if (!canonical.ends_with('/')) canonical += '/';
  std::vector<std::string> inside;
  for (const std::string& point : mounts_.Points()) {
    if (point.size() > canonical.size() && point.starts_with(canonical)) inside.push_back(point);
  }
  return inside;
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
  SetFolderMode(path, 0, where);
}

void PosixPlatform::UnlockFolder(const std::string& path, Where where) {
  SetFolderMode(path, 0700, where);
}

// Store folders.

FolderLineage PosixPlatform::Lineage(const std::string& path) {
  FolderLineage lineage;
  lineage.exists = true;
  std::error_code ec;
  fs::path existing = fs::absolute(path, ec).lexically_normal();
  int fd;
  while ((fd = ::open(existing.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)) < 0) {
    lineage.exists = false;
    if (existing.empty() || existing == existing.root_path()) return lineage;
    existing = existing.parent_path();
  }
  // Up through each folder's own "..", which is where the folder really
  // lies, whatever path led to it; the top is its own "..".
  for (;;) {
    struct stat st;
    const bool known = ::fstat(fd, &st) == 0;
    const EntryId id{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    const bool top = !known || (!lineage.ids.empty() && lineage.ids.back() == id);
    if (known && !top) lineage.ids.push_back(id);
    const int parent = top ? -1 : ::openat(fd, "..", O_PATH | O_DIRECTORY | O_CLOEXEC);
    ::close(fd);
    if (parent < 0) return lineage;
    fd = parent;
  }
}

FolderFacts PosixPlatform::InspectFolder(const std::string& path) {
  FolderFacts facts;
  const posix::ParentWalk walk = posix::WalkToParent(path);
  if (!walk.parent.Valid()) {
    if (walk.error == ELOOP) facts.link = walk.stopped;
    return facts;
  }
  struct stat st;
  if (::fstatat(walk.parent.Get(), walk.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return facts;
  facts.exists = true;
  facts.kind = posix::KindOf(st.st_mode);
  if (facts.kind == EntryKind::Link) facts.link = walk.full;
  facts.own = st.st_uid == ::geteuid();
  return facts;
}

void PosixPlatform::CreatePrivateFolder(const std::string& path, Where where) {
  const std::string what = "Cannot create folder " + path;
  const posix::ParentWalk walk = posix::WalkToParent(path);
  if (!walk.parent.Valid()) {
    if (walk.error == ELOOP)
      Raise(err::kPathFileAccess, what + ": " + walk.stopped + " is a link", where);
    RaiseErrno(walk.error, what, where);
  }
  if (::mkdirat(walk.parent.Get(), walk.name.c_str(), 0700) == 0) return;
  if (errno != EEXIST) RaiseErrno(errno, what, where);
  struct stat st;
  if (::fstatat(walk.parent.Get(), walk.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    RaiseErrno(errno, what, where);
  }
  if (!S_ISDIR(st.st_mode)) {
    Raise(err::kPathFileAccess,
          what + (S_ISLNK(st.st_mode) ? ": it is a link" : ": it is not a folder"), where);
  }
}

std::string PosixPlatform::HomeFolder() {
  return WithoutTrailingSeparator(fs::path(HomeFromEnvironment()).lexically_normal().string());
}

std::vector<SystemFolder> PosixPlatform::SystemFolders() {
  std::vector<SystemFolder> folders;
  for (const char* path : {"/bin", "/boot", "/dev", "/etc", "/lib", "/lib32", "/lib64", "/libx32",
                           "/opt", "/proc", "/sbin", "/snap", "/sys", "/usr", "/var"}) {
    folders.push_back({path, true});
  }
  // Folders that hold users' own folders and drives (/run/media): those
  // inside them may serve.
  for (const char* path : {"/", "/home", "/media", "/mnt", "/root", "/run", "/run/media",
                           "/run/user", "/srv", "/tmp"}) {
    folders.push_back({path, false});
  }
  return folders;
}

}  // namespace veilbox
