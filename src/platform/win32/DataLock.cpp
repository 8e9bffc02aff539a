// The lock between copies of Veilbox: LockFileEx on a file in the program
// folder. Windows drops it when a copy dies, so a killed copy never blocks
// the others.
#include <chrono>
#include <thread>

#include "platform/win32/WideText.h"
#include "platform/win32/WinError.h"
#include "platform/win32/WinPlatform.h"

namespace veilbox {

constexpr const char* kLockFileName = ".veilbox.lock";
constexpr auto kWaitBeforeNotice = std::chrono::seconds(3);
constexpr auto kPollInterval = std::chrono::milliseconds(20);

class WinDataLock : public DataLock {
 public:
  explicit WinDataLock(WinPlatform& platform) : platform_(platform) { ++platform_.lock_depth_; }
  ~WinDataLock() override {
    if (--platform_.lock_depth_ == 0) {
      CloseHandle(platform_.lock_file_);  // closing the file releases the lock
      platform_.lock_file_ = INVALID_HANDLE_VALUE;
    }
  }

 private:
  WinPlatform& platform_;
};

std::unique_ptr<DataLock> WinPlatform::LockData(const std::function<void()>& still_waiting,
                                                Where where) {
  if (lock_depth_ > 0) return std::make_unique<WinDataLock>(*this);
  const std::string path = ProgramFolder(where) + "\\" + kLockFileName;
  HANDLE file = CreateFileW(win32::Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
  if (file == INVALID_HANDLE_VALUE) win32::RaiseWin32(GetLastError(), "Cannot open " + path, where);
  const auto start = std::chrono::steady_clock::now();
  bool told = false;
  for (;;) {
    OVERLAPPED at{};
    if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) break;
    const DWORD error = GetLastError();
    if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
      CloseHandle(file);
      win32::RaiseWin32(error, "Cannot lock " + path, where);
    }
    if (!told && std::chrono::steady_clock::now() - start > kWaitBeforeNotice) {
      told = true;
      if (still_waiting) still_waiting();
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  lock_file_ = file;
  return std::make_unique<WinDataLock>(*this);
}

}  // namespace veilbox
