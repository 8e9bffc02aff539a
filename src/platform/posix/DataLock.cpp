// The lock between copies of Veilbox: flock on a file in the program folder.
// The kernel drops it when a copy dies, so a killed copy never blocks others.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "diag/Failure.h"
#include "platform/LockWait.h"
#include "platform/posix/PosixPlatform.h"

namespace veilbox {

class PosixDataLock : public DataLock {
 public:
  explicit PosixDataLock(PosixPlatform& platform) : platform_(platform) { ++platform_.lock_depth_; }
  ~PosixDataLock() override {
    if (--platform_.lock_depth_ == 0) {
      ::close(platform_.lock_fd_);  // closing the file releases the lock
      platform_.lock_fd_ = -1;
    }
  }

 private:
  PosixPlatform& platform_;
};

std::unique_ptr<DataLock> PosixPlatform::LockData(const DataLockWait& wait, Where where) {
  if (lock_depth_ > 0) return std::make_unique<PosixDataLock>(*this);
  const std::string path = ProgramFolder(where) + "/" + kDataLockFileName;
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) RaiseErrno(errno, "Cannot open " + path, where);
  try {
    WaitForDataLock(
        [&] {
          if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
          if (errno != EWOULDBLOCK && errno != EINTR)
            RaiseErrno(errno, "Cannot lock " + path, where);
          return false;
        },
        wait, where);
  } catch (...) {
    ::close(fd);
    throw;
  }
  lock_fd_ = fd;
  return std::make_unique<PosixDataLock>(*this);
}

}  // namespace veilbox
