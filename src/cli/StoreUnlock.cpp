#include "cli/StoreUnlock.h"

#include "engine/Locking.h"

namespace veilbox::cli {

StoreUnlock::StoreUnlock(AppState& state) : state_(state), scope_(state) {
  sigset_t ending;
  sigemptyset(&ending);
  for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&ending, s);
  sigprocmask(SIG_BLOCK, &ending, &old_mask_);
  unlocked_ = UnlockStoreFolders(state_);
}

StoreUnlock::~StoreUnlock() {
  if (!relocked_) Relock();
}

bool StoreUnlock::Relock() {
  relocked_ = true;
  bool locked = false;
  try {
    locked = LockStoreFolders(state_);
  } catch (...) {
    // Failures are reported inside; the signals must come back regardless.
  }
  sigprocmask(SIG_SETMASK, &old_mask_, nullptr);
  return locked;
}

}  // namespace veilbox::cli
