#include "platform/LockWait.h"

#include <thread>

#include "diag/Failure.h"

namespace veilbox {
namespace {

constexpr auto kWaitBeforeNotice = std::chrono::seconds(3);
constexpr auto kPollInterval = std::chrono::milliseconds(20);

}  // namespace

void WaitForDataLock(const std::function<bool()>& try_lock, const DataLockWait& wait, Where where) {
  const auto start = std::chrono::steady_clock::now();
  bool told = false;
  while (!try_lock()) {
    const auto waited = std::chrono::steady_clock::now() - start;
    if (waited > wait.limit) {
      const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(wait.limit).count();
      Raise(err::kPermissionDenied,
            "Another copy of Veilbox is still changing the folder list after " +
                std::to_string(seconds) + " seconds; nothing was changed here. Please try " +
                "again when it has finished",
            where);
    }
    if (!told && waited > kWaitBeforeNotice) {
      told = true;
      if (wait.still_waiting) wait.still_waiting();
    }
    if (wait.meanwhile) wait.meanwhile();
    std::this_thread::sleep_for(kPollInterval);
  }
}

}  // namespace veilbox
