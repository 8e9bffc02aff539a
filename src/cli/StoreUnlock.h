// Keeps every store folder unlocked for the life of a command that moves
// folders, and locks them all again when it ends, however it ends, unless
// another copy (a desktop window) holds them unlocked too. It holds the
// data lock all the while, so that no other copy locks the store folders in
// the middle of this command's moves; signals that would end the program
// wait until the folders are locked again. Should the program die before
// that, its line in the unlock marker (UnlockMarker.h) has the next start
// lock them.
#pragma once

#include "app/Session.h"
#include "cli/EndingSignals.h"
#include "engine/CommandScope.h"

namespace veilbox::cli {

class StoreUnlock {
 public:
  explicit StoreUnlock(Session& session);
  ~StoreUnlock();
  StoreUnlock(const StoreUnlock&) = delete;
  StoreUnlock& operator=(const StoreUnlock&) = delete;

  // Whether every store folder could be unlocked.
  bool Unlocked() const { return unlocked_; }
  // Locks again now (including store folders set up meanwhile) unless
  // another copy holds them unlocked; whether that went well.
  bool Relock();

 private:
  Session& session_;
  CommandScope scope_;
  EndingSignalsHeld held_;
  bool unlocked_ = false;
  bool relocked_ = false;
};

}  // namespace veilbox::cli
