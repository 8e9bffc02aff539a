#include "cli/StoreUnlock.h"

#include "engine/UnlockMarker.h"

namespace veilbox::cli {

StoreUnlock::StoreUnlock(Session& session) : session_(session), scope_(session) {
  unlocked_ = HoldUnlocked(session_, Holder::Command);
}

StoreUnlock::~StoreUnlock() {
  if (!relocked_) Relock();
}

bool StoreUnlock::Relock() {
  relocked_ = true;
  bool locked = false;
  try {
    locked = ReleaseHold(session_);
  } catch (...) {
    // Failures are reported inside; the signals must come back regardless.
  }
  held_.Release();
  return locked;
}

}  // namespace veilbox::cli
