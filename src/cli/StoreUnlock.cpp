#include "cli/StoreUnlock.h"

#include "engine/UnlockMarker.h"

namespace veilbox::cli {

StoreUnlock::StoreUnlock(AppState& state) : state_(state), scope_(state) {
  unlocked_ = UnlockStoreFoldersForAWhile(state_);
}

StoreUnlock::~StoreUnlock() {
  if (!relocked_) Relock();
}

bool StoreUnlock::Relock() {
  relocked_ = true;
  bool locked = false;
  try {
    locked = LockStoreFoldersAgain(state_);
  } catch (...) {
    // Failures are reported inside; the signals must come back regardless.
  }
  held_.Release();
  return locked;
}

}  // namespace veilbox::cli
