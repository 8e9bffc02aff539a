// The lock between copies of Veilbox: flock on a file in the program folder.
// The kernel drops it when a copy dies, so a killed copy never blocks others.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "diag/Failure.h"
#include "platform/posix/PosixPlatform.h"

namespace veilbox {

constexpr const char* kLockFileName = ".veilbox.lock";
constexpr auto kWaitBeforeNotice = std::chrono::seconds(3);
constexpr auto kPollInterval = std::chrono::milliseconds(20);

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

std::unique_ptr<DataLock> PosixPlatform::LockData(const std::function<void()>& still_waiting,
                                                  Where where) {
  if (lock_depth_ > 0) return std::make_unique<PosixDataLock>(*this);
  const std::string path = ProgramFolder(where) + "/" + kLockFileName;
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) RaiseErrno(errno, "Cannot open " + path, where);
  const auto start = std::chrono::steady_clock::now();
  bool told = false;
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR) {
      int error_code = errno;
      ::close(fd);
      RaiseErrno(error_code, "Cannot lock " + path, where);
    }
    if (!told && std::chrono::steady_clock::now() - start > kWaitBeforeNotice) {
      told = true;
      if (still_waiting) still_waiting();
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  lock_fd_ = fd;
  return std::make_unique<PosixDataLock>(*this);
}

}  // namespace veilbox
