#include "cli/StoreUnlock.h"

#include "engine/Locking.h"

namespace veilbox::cli {

StoreUnlock::StoreUnlock(AppState& state) : state_(state), scope_(state) {
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
  held_.Release();
  return locked;
}

}  // namespace veilbox::cli
