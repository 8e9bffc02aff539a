// The lock between copies of Veilbox: LockFileEx on a file in the program
// folder. Windows drops it when a copy dies, so a killed copy never blocks
// the others.
#include "platform/LockWait.h"
#include "platform/win32/LongPath.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WinError.h"
#include "platform/win32/WinPlatform.h"

namespace veilbox {

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

std::unique_ptr<DataLock> WinPlatform::LockData(const DataLockWait& wait, Where where) {
  if (lock_depth_ > 0) return std::make_unique<WinDataLock>(*this);
  const std::string path = ProgramFolder(where) + "\\" + kDataLockFileName;
  HANDLE file =
      CreateFileW(win32::SystemPath(win32::Widen(path)).c_str(), GENERIC_READ | GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                  FILE_ATTRIBUTE_HIDDEN, nullptr);
  if (file == INVALID_HANDLE_VALUE) win32::RaiseWin32(GetLastError(), "Cannot open " + path, where);
  try {
    WaitForDataLock(
        [&] {
          OVERLAPPED at{};
          if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at))
            return true;
          const DWORD error = GetLastError();
          if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING)
            win32::RaiseWin32(error, "Cannot lock " + path, where);
          return false;
        },
        wait, where);
  } catch (...) {
    CloseHandle(file);
    throw;
  }
  lock_file_ = file;
  return std::make_unique<WinDataLock>(*this);
}

}  // namespace veilbox
