#include "platform/posix/PosixFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>

#include "diag/Failure.h"

namespace veilbox::posix {
namespace fs = std::filesystem;

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

namespace {

void SyncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

EntryKind KindOf(const dirent& e, int dir_fd) {
  switch (e.d_type) {
    case DT_DIR:
      return EntryKind::Directory;
    case DT_REG:
      return EntryKind::File;
    case DT_LNK:
      return EntryKind::Link;
    default: {
      struct stat st;
      if (::fstatat(dir_fd, e.d_name, &st, AT_SYMLINK_NOFOLLOW) == 0)
        return posix::KindOf(st.st_mode);
      return EntryKind::Other;
    }
  }
}

}  // namespace

EntryKind KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return EntryKind::Directory;
  if (S_ISREG(mode)) return EntryKind::File;
  if (S_ISLNK(mode)) return EntryKind::Link;
  return EntryKind::Other;
}

void VisitOpenDirectory(int fd, const std::string& path,
                        const std::function<void(const DirEntry&)>& visit, Where where) {
  DIR* opened = ::fdopendir(fd);
  if (opened == nullptr) {
    const int error_code = errno;
    ::close(fd);
    RaiseErrno(error_code, "Cannot list " + path, where);
  }
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(opened, ::closedir);
  DirEntry entry;
  int error_code = 0;
  for (;;) {
    errno = 0;
    const dirent* e = ::readdir(dir.get());
    if (e == nullptr) {
      error_code = errno;
      break;
    }
    if (e->d_name[0] == '.' &&
        (e->d_name[1] == '\0' || (e->d_name[1] == '.' && e->d_name[2] == '\0')))
      continue;
    entry.name.assign(e->d_name);
    entry.kind = KindOf(*e, ::dirfd(dir.get()));
    visit(entry);
  }
  if (error_code != 0) RaiseErrno(error_code, "Cannot list " + path, where);
}

std::vector<DirEntry> ListOpenDirectory(int fd, const std::string& path, Where where) {
  std::vector<DirEntry> entries;
  VisitOpenDirectory(
      fd, path, [&](const DirEntry& entry) { entries.push_back(entry); }, where);
  // Directory order is arbitrary; a fixed order makes every pass repeatable.
  std::sort(entries.begin(), entries.end(),
            [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
  return entries;
}

int RenameNoReplaceAt(int from_dir, const std::string& from, int to_dir, const std::string& to) {
  if (::renameat2(from_dir, from.c_str(), to_dir, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != ENOSYS && errno != EINVAL) return errno;
  // File systems without RENAME_NOREPLACE: check, then rename.
  struct stat st;
  if (::fstatat(to_dir, to.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) return EEXIST;
  return ::renameat(from_dir, from.c_str(), to_dir, to.c_str()) == 0 ? 0 : errno;
}

void WriteAtomically(const std::string& path, const std::string& bytes, Where where) {
  fs::path target(path);
  std::string folder = target.parent_path().empty() ? "." : target.parent_path().string();
  std::string temp =
      (fs::path(folder) / ("." + target.filename().string() + ".tmp-XXXXXX")).string();
  int fd = ::mkstemp(temp.data());
  if (fd < 0) RaiseErrno(errno, "Cannot write " + path, where);
  bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  int error_code = errno;
  if (::close(fd) != 0 && written) {
    written = false;
    error_code = errno;
  }
  if (written && ::rename(temp.c_str(), path.c_str()) == 0) {
    SyncFolder(folder);
    return;
  }
  if (written) error_code = errno;
  ::unlink(temp.c_str());
  RaiseErrno(error_code, "Cannot write " + path, where);
}

std::string ReadWholeFile(const std::string& path, Where where) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) RaiseErrno(errno, "Cannot read " + path, where);
  std::string content;
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int error_code = errno;
      ::close(fd);
      RaiseErrno(error_code, "Cannot read " + path, where);
    }
    if (n == 0) break;
    content.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return content;
}

void MakeFolders(const std::string& path, unsigned mode, Where where) {
  fs::path p = fs::path(path).lexically_normal();
  std::vector<fs::path> missing;
  for (fs::path q = p; !q.empty() && q != q.root_path(); q = q.parent_path()) {
    struct stat st;
    if (::lstat(q.c_str(), &st) == 0) {
      if (!S_ISDIR(st.st_mode) && !(S_ISLNK(st.st_mode) && fs::is_directory(q))) {
        Raise(err::kPathFileAccess,
              "Cannot create folder " + path + ": " + q.string() + " is not a folder", where);
      }
      break;
    }
    missing.push_back(q);
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    if (::mkdir(it->c_str(), mode) != 0 && errno != EEXIST) {
      RaiseErrno(errno, "Cannot create folder " + it->string(), where);
    }
  }
}

}  // namespace veilbox::posix
