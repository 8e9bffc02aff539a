// Keeps every store folder unlocked for the life of a command that moves
// folders, and locks them all again when it ends, however it ends. It holds
// the data lock all the while, so that no other copy locks the store folders
// in the middle of this command's moves; signals that would end the program
// wait until the folders are locked again. Should the program die before
// that, the marker of UnlockStoreFoldersForAWhile has the next start lock
// them.
#pragma once

#include "app/AppState.h"
#include "cli/EndingSignals.h"
#include "engine/CommandScope.h"

namespace veilbox::cli {

class StoreUnlock {
 public:
  explicit StoreUnlock(AppState& state);
  ~StoreUnlock();
  StoreUnlock(const StoreUnlock&) = delete;
  StoreUnlock& operator=(const StoreUnlock&) = delete;

  // Whether every store folder could be unlocked.
  bool Unlocked() const { return unlocked_; }
  // Locks again now (including store folders set up meanwhile); whether
  // every one could be locked.
  bool Relock();

 private:
  AppState& state_;
  CommandScope scope_;
  EndingSignalsHeld held_;
  bool unlocked_ = false;
  bool relocked_ = false;
};

}  // namespace veilbox::cli
