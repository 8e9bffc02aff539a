// Folders opened without following links, and the work done relative to
// them: listing, opening sub-folders, renames and moves by name inside an
// open folder. A folder is held as an O_PATH descriptor, which needs only
// search permission on its parents and follows the folder wherever it moves.
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "diag/Failure.h"
#include "platform/posix/NoLinkWalk.h"
#include "platform/posix/PosixFiles.h"
#include "platform/posix/PosixPlatform.h"

namespace veilbox {
namespace {

constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

EntryId IdOf(const struct stat& st) {
  return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

// What an open folder is and which mount it lies on: the mount's id where
// the kernel gives one (so that a bind mount of a folder of the same device
// counts as another drive), else the device.
struct Identity {
  EntryId id;
  std::uint64_t mount = 0;
  bool shared = true;  // another account may change its entries
};

std::optional<Identity> IdentityOf(int fd) {
  struct statx sx;
  const unsigned int want = STATX_INO | STATX_MNT_ID | STATX_MODE | STATX_UID;
  if (::statx(fd, "", AT_EMPTY_PATH | AT_SYMLINK_NOFOLLOW, want, &sx) != 0) return std::nullopt;
  const EntryId id{::makedev(sx.stx_dev_major, sx.stx_dev_minor), sx.stx_ino};
  // Only its owner may change a folder's mode, so one that is the user's and
  // not writable by group or others (an access list shows in the group
  // bits) stays so while it is open.
  const bool shared = sx.stx_uid != ::geteuid() || (sx.stx_mode & (S_IWGRP | S_IWOTH)) != 0;
  return Identity{id, (sx.stx_mask & STATX_MNT_ID) ? sx.stx_mnt_id : id.device, shared};
}

std::string WhyNotOpened(int error_code, const std::string& path) {
  switch (error_code) {
    case ELOOP:
      return path + " is or passes through a link";
    case ENOTDIR:
      return path + " is not a folder, or passes through something that is not";
    case ENOENT:
      return path + " does not exist";
    default:
      return "Cannot open " + path + ": " + std::strerror(error_code);
  }
}

// Opens path with no link anywhere on it: openat2 where the kernel has it,
// otherwise one part at a time with O_NOFOLLOW. A descriptor, or -errno.
int OpenWithoutLinks(const std::string& path) {
  open_how how{};
  how.flags = kFolderFlags;
  how.resolve = RESOLVE_NO_SYMLINKS;
  const long fd = ::syscall(SYS_openat2, AT_FDCWD, path.c_str(), &how, sizeof how);
  if (fd >= 0) return static_cast<int>(fd);
  if (errno != ENOSYS) return -errno;
  const posix::ParentWalk walk = posix::WalkToParent(path);
  if (!walk.parent.Valid()) return -walk.error;
  const int folder = ::openat(walk.parent.Get(), walk.name.c_str(), kFolderFlags);
  return folder >= 0 ? folder : -errno;
}

class PosixOpenFolder : public OpenFolder {
 public:
  PosixOpenFolder(int fd, std::string path, Identity identity)
      : fd_(fd), path_(std::move(path)), identity_(identity) {}
  ~PosixOpenFolder() override { ::close(fd_); }
  PosixOpenFolder(const PosixOpenFolder&) = delete;
  PosixOpenFolder& operator=(const PosixOpenFolder&) = delete;

  EntryId Id() const override { return identity_.id; }
  std::uint64_t FileSystem() const override { return identity_.mount; }
  bool OthersMayChange() const override { return identity_.shared; }

  std::vector<DirEntry> List(Where where) override {
    const int readable = ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (readable < 0) RaiseErrno(errno, "Cannot list " + path_, where);
    return posix::ListOpenDirectory(readable, path_, where);
  }

  void ForEachEntry(const std::function<void(const DirEntry&)>& visit, Where where) override {
    const int readable = ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (readable < 0) RaiseErrno(errno, "Cannot list " + path_, where);
    posix::VisitOpenDirectory(readable, path_, visit, where);
  }

  std::unique_ptr<OpenFolder> OpenChild(const std::string& name, Where where) override {
    const std::string path = Join(name);
    const int fd = ::openat(fd_, name.c_str(), kFolderFlags);
    if (fd < 0) Raise(ErrorNumberFromErrno(errno), WhyNotOpened(errno, path), where);
    return Adopt(fd, path, where);
  }

  bool IsChildFolder(const std::string& name) override {
    struct stat st;
    return ::fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
  }

  std::optional<EntryId> ChildId(const std::string& name, Where where) override {
    struct stat st;
    if (::fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) return IdOf(st);
    if (errno == ENOENT) return std::nullopt;
    RaiseErrno(errno, "Cannot look at " + Join(name), where);
  }

  FolderTime ModifiedTime(Where where) override {
    struct stat st;
    if (::fstat(fd_, &st) != 0) RaiseErrno(errno, "Cannot look at " + path_, where);
    return {st.st_mtim.tv_sec, st.st_mtim.tv_nsec};
  }

  void SetModifiedTime(const FolderTime& time, Where where) override {
    const int fd = ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const timespec times[2] = {{0, UTIME_OMIT}, {time.seconds, time.fraction}};
    const bool set = fd >= 0 && ::futimens(fd, times) == 0;
    const int error_code = errno;
    if (fd >= 0) ::close(fd);
    if (!set) RaiseErrno(error_code, "Cannot set the time of " + path_, where);
  }

  MoveResult RenameChild(const std::string& from, const std::string& to) override {
    return MoveChild(from, *this, to);
  }

  MoveResult MoveChild(const std::string& name, OpenFolder& target,
                       const std::string& new_name) override {
    auto& to = static_cast<PosixOpenFolder&>(target);
    const int error_code = posix::RenameNoReplaceAt(fd_, name, to.fd_, new_name);
    if (error_code == 0) return {true, ""};
    if (error_code == EEXIST || error_code == ENOTEMPTY) {
      return {false, to.Join(new_name) + " already exists"};
    }
    if (error_code == EXDEV) {
      return {false, Join(name) + " lies on another file system than " + to.path_};
    }
    return {false, std::strerror(error_code)};
  }

  MoveResult WriteNewFile(const std::string& name, const std::string& bytes) override {
    const int fd =
        ::openat(fd_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
      return {false, errno == EEXIST ? Join(name) + " already exists" : std::strerror(errno)};
    }
    bool written = posix::WriteAll(fd, bytes) && ::fsync(fd) == 0;
    int error_code = errno;
    if (::close(fd) != 0 && written) {
      written = false;
      error_code = errno;
    }
    if (written) return {true, ""};
    ::unlinkat(fd_, name.c_str(), 0);
    return {false, "Cannot write " + Join(name) + ": " + std::strerror(error_code)};
  }

  std::optional<std::string> ReadChildFile(const std::string& name, std::size_t limit,
                                           Where where) override {
    // O_NONBLOCK: a pipe of that name must not hold the reader up.
    const int fd = ::openat(fd_, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
      if (errno == ENOENT) return std::nullopt;
      RaiseErrno(errno, "Cannot read " + Join(name), where);
    }
    struct stat st;
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    std::string bytes(limit + 1, '\0');
    std::size_t size = 0;
    ssize_t got = regular ? 1 : -1;
    while (regular && size < bytes.size() && got != 0) {
      got = ::read(fd, bytes.data() + size, bytes.size() - size);
      if (got < 0 && errno != EINTR) break;
      if (got > 0) size += static_cast<std::size_t>(got);
    }
    const int error_code = errno;
    ::close(fd);
    if (!regular) Raise(err::kPathFileAccess, Join(name) + " is not a file", where);
    if (got < 0) RaiseErrno(error_code, "Cannot read " + Join(name), where);
    bytes.resize(size);
    return bytes;
  }

  MoveResult RemoveChildFile(const std::string& name) override {
    if (::unlinkat(fd_, name.c_str(), 0) == 0) return {true, ""};
    return {false, "Cannot remove " + Join(name) + ": " + std::strerror(errno)};
  }

  static std::unique_ptr<OpenFolder> Adopt(int fd, const std::string& path, Where where) {
    const std::optional<Identity> identity = IdentityOf(fd);
    if (!identity) {
      const int error_code = errno;
      ::close(fd);
      RaiseErrno(error_code, "Cannot look at " + path, where);
    }
    return std::make_unique<PosixOpenFolder>(fd, path, *identity);
  }

 private:
  std::string Join(const std::string& name) const {
    return path_.ends_with('/') ? path_ + name : path_ + "/" + name;
  }

  int fd_;
  std::string path_;  // where the folder was opened, for messages only
  Identity identity_;
};

}  // namespace

OpenedFolder PosixPlatform::OpenFolderNoLinks(const std::string& path) {
  const int fd = OpenWithoutLinks(path);
  if (fd < 0) {
    // A link as the last part fails as "not a folder" under O_NOFOLLOW.
    std::string entry = path;
    while (entry.size() > 1 && entry.back() == '/') entry.pop_back();
    struct stat st;
    const bool link = -fd == ENOTDIR && ::lstat(entry.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
    return {nullptr, -fd == ENOENT, WhyNotOpened(link ? ELOOP : -fd, path)};
  }
  try {
    return {PosixOpenFolder::Adopt(fd, path, Where::current()), false, ""};
  } catch (const Failure& f) {
    return {nullptr, false, f.Description()};
  }
}

}  // namespace veilbox
