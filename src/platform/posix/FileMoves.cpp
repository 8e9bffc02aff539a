// Moves and renames. A move within one file system is a rename; across file
// systems it is a copy, verified against the original, then the original's
// removal. Neither ever replaces an existing entry.
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "diag/Failure.h"
#include "platform/posix/PosixFiles.h"
#include "platform/posix/PosixPlatform.h"

namespace veilbox {
namespace fs = std::filesystem;

namespace {

MoveResult Failed(const std::string& reason) {
  return {false, reason};
}

bool EntryExists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

bool SameContent(const fs::path& a, const fs::path& b) {
  std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
  if (!fa || !fb) return false;
  char ba[65536], bb[65536];
  while (fa && fb) {
    fa.read(ba, sizeof ba);
    fb.read(bb, sizeof bb);
    if (fa.gcount() != fb.gcount() || std::memcmp(ba, bb, fa.gcount()) != 0) return false;
  }
  return fa.eof() && fb.eof();
}

void SyncFile(const fs::path& p) {
  int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

// Copies one entry (a folder with everything in it, a file or a link) to a
// target that does not exist yet, checking each file against its original.
void CopyVerified(const fs::path& source, const fs::path& target) {
  const fs::file_status status = fs::symlink_status(source);
  if (fs::is_symlink(status)) {
    fs::copy_symlink(source, target);
  } else if (fs::is_directory(status)) {
    fs::create_directory(target, source);
    for (const auto& entry : fs::directory_iterator(source)) {
      CopyVerified(entry.path(), target / entry.path().filename());
    }
  } else if (fs::is_regular_file(status)) {
    fs::copy_file(source, target, fs::copy_options::none);
    SyncFile(target);
    if (!SameContent(source, target)) {
      throw fs::filesystem_error("copy differs from the original", source, target,
                                 std::make_error_code(std::errc::io_error));
    }
  } else {
    throw fs::filesystem_error("cannot copy a special file", source,
                               std::make_error_code(std::errc::operation_not_supported));
  }
}

// The copy is made under a passing name beside the target and renamed at
// the end, so the target exists only once it is complete, even if the
// program is stopped half way.
MoveResult MoveAcrossFileSystems(const std::string& source, const std::string& target) {
  const fs::path t(target);
  const fs::path partial = t.parent_path() / ("." + t.filename().string() + ".veilbox-partial");
  try {
    fs::remove_all(partial);
    CopyVerified(source, partial);
    fs::rename(partial, target);
  } catch (const std::exception& e) {
    std::error_code ignored;
    fs::remove_all(partial, ignored);
    return Failed(std::string("copy failed: ") + e.what());
  }
  std::error_code ec;
  fs::remove_all(source, ec);
  if (ec) {
    // The verified copy is complete; what is left of the original is a
    // duplicate, so the move has happened.
    return {true, "the original could not be removed completely: " + ec.message()};
  }
  return {true, ""};
}

}  // namespace

int PosixPlatform::RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != ENOSYS && errno != EINVAL) return errno;
  // File systems without RENAME_NOREPLACE: check, then rename.
  if (EntryExists(to)) return EEXIST;
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

MoveResult PosixPlatform::MoveFolder(const std::string& source, const std::string& destination) {
  if (!EntryExists(source)) return Failed(source + " does not exist");
  std::string target = destination;
  if (FolderExists(destination)) {
    target = (fs::path(destination) / fs::path(source).filename()).string();
  }
  if (EntryExists(target)) return Failed(target + " already exists");
  try {
    posix::MakeFolders(fs::path(target).parent_path().string(), 0777, Where::current());
  } catch (const Failure& f) {
    return Failed(f.Description());
  }
  int error_code = RenameNoReplace(source, target);
  if (error_code == 0) return {true, ""};
  if (error_code == EXDEV) return MoveAcrossFileSystems(source, target);
  return Failed(std::strerror(error_code));
}

MoveResult PosixPlatform::Rename(const std::string& old_path, const std::string& new_path) {
  int error_code = RenameNoReplace(old_path, new_path);
  if (error_code == 0) return {true, ""};
  if (error_code == EEXIST || error_code == ENOTEMPTY) return Failed(new_path + " already exists");
  return Failed(std::strerror(error_code));
}

}  // namespace veilbox
