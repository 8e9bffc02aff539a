// What the main window's logic (frmMain) asks of a toolkit's main window. The
// view builds the controls and menus, calls frmMain's handlers when the user
// acts, and does here only what it is told: it decides nothing itself.
#pragma once

#include <string>
#include <vector>

#include "store/FolderRecord.h"

namespace veilbox {

// The controls and menu items whose enabled state the logic sets.
enum class MainControl {
  lstFolders,
  fraAction,
  cmdAdd,
  cmdRemove,
  fraStatus,
  lblStatus,
  cmbStatus,
  chkEncrypt,
  cmdUnlockFolder,
  mnuLockFolder,
  mnuUnlockFolder,
  mnuAdd,
  mnuRemove,
  mnuHidden,
  mnuVisible,
  mnuEncryptfilenames,
  mnuPreferences,
};

class frmMainView {
 public:
  virtual ~frmMainView() = default;

  // The window's title.
  virtual void SetCaption(const std::string& caption) = 0;
  // cmdUnlockFolder's caption ("Unlock folder" or "Lock folder").
  virtual void SetLockButtonCaption(const std::string& caption) = 0;
  virtual void SetEnabled(MainControl control, bool enabled) = 0;

  // lstFolders: replaces the rows (folder, path, status, encryption), none
  // ticked. Filling or clearing is no click: the view does not call
  // lstFolders_Click for it.
  virtual void FillList(const std::vector<ListRow>& rows) = 0;
  // Each row's tick, in the order of the rows last filled.
  virtual std::vector<bool> Ticks() const = 0;
  virtual void ClearTicks() = 0;

  // cmbStatus' text: "Hidden", "Visible", or empty before any choice.
  // Setting it runs no handler.
  virtual std::string StatusChoice() const = 0;
  virtual void SetStatusChoice(const std::string& text) = 0;
  // chkEncrypt's tick and the check mark of Status > Encrypt filenames.
  // Setting either runs no handler.
  virtual bool EncryptTicked() const = 0;
  virtual void SetEncryptTicked(bool ticked) = 0;
  virtual void SetEncryptMenuChecked(bool checked) = 0;

  // pbBar at value of maximum; a maximum of 0 shows an empty bar.
  virtual void SetProgress(long value, long maximum) = 0;
  // The status bar's text; empty text clears it.
  virtual void SetStatusLine(const std::string& text) = 0;
  // The busy (wait) cursor over the program's windows, or the normal one.
  virtual void SetBusy(bool busy) = 0;

  // Shows or hides the main window.
  virtual void SetVisible(bool visible) = 0;
  // The login window of start-up: the view creates it with a frmLogin over
  // this window's logic, shows it and gives its password field the focus.
  virtual void OpenLogin() = 0;
  // The preferences window (a frmOptions) and the about box (a frmAbout),
  // both not modal: created and shown, or, when one is open already, brought
  // to the front as it is.
  virtual void OpenOptions() = 0;
  virtual void OpenAbout() = 0;
  // Hides every window of the program and leaves the event loop; no further
  // handler runs and nothing more is asked.
  virtual void EndProgram() = 0;
};

}  // namespace veilbox
