// The main window's lock state and what it enables, and the decision taken
// when the window closes. Kept free of Qt so the rules read in one place.
#pragma once

#include "app/Dialogue.h"

namespace veilbox {

constexpr const char* kUnlockCaption = "Unlock folder";
constexpr const char* kLockCaption = "Lock folder";

class MainWindowState {
 public:
  // Every start opens locked, whatever the store folders' modes on disk.
  bool Unlocked() const { return unlocked_; }
  const char* LockButtonCaption() const { return unlocked_ ? kLockCaption : kUnlockCaption; }

  // The folder list, Add, Remove, Preferences and File > Lock folder.
  bool ActionsEnabled() const { return unlocked_; }
  bool UnlockMenuEnabled() const { return !unlocked_; }
  // The status box, "Encrypt filenames" and the Status menu's items.
  bool StatusGroupEnabled() const { return unlocked_ && status_group_; }

  // Unlocking leaves the status group off: it follows the ticks only once
  // the user ticks or clears a row.
  void Unlock() { unlocked_ = true; }
  void Lock() {
    unlocked_ = false;
    status_group_ = false;
  }
  // A click in the list: the status group is on while any row is ticked. A
  // reload that clears the ticks does not come here, so the group keeps its
  // state until the next click.
  void ListClicked(bool any_ticked) { status_group_ = any_ticked; }

 private:
  bool unlocked_ = false;
  bool status_group_ = false;
};

enum class CloseAction { Close, LockAndClose, StayOpen };

// The answer to "Do you wish to lock the folder?" when the window closes.
// Only a close that may be cancelled (the close box, not File > Exit) stays
// open on Cancel.
inline CloseAction AfterLockQuestion(Answer answer, bool cancellable) {
  if (answer == Answer::Yes) return CloseAction::LockAndClose;
  if (answer == Answer::Cancel && cancellable) return CloseAction::StayOpen;
  return CloseAction::Close;
}

}  // namespace veilbox
