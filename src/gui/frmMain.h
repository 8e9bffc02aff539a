// frmMain: the main window's logic over a toolkit's view. Its load step runs
// the start-up stages; its handlers run the engine's commands one at a time
// (through the shared CommandQueue) and set what the view shows; closing may
// lock the store folders. The view calls the handlers; frmLogin, frmOptions
// and frmAbout reach the program's session through this window. No window's
// logic calls its view before Form_Load, so a view may hold its logic as a
// member built before its controls.
//
// A front end wires it so (views own their logic):
//   QtDialogue boxes;                     // the toolkit's message boxes
//   MainWindowDialogue dialogue(boxes);   // what the core talks through
//   Session session(*platform, dialogue);  // the core object
//   QtMain window(session, dialogue);       // its frmMain calls dialogue.Attach(this)
//   window.Logic().Form_Load();           // then the event loop, unless ProgramEnded()
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Session.h"
#include "gui/CommandQueue.h"
#include "gui/MainWindowState.h"
#include "gui/PassProgress.h"
#include "gui/StartStages.h"
#include "gui/frmMainView.h"

namespace veilbox {

class MainWindowDialogue;

class frmMain {
 public:
  // Attaches itself to dialogue (which session talks through) for progress.
  frmMain(frmMainView& view, Session& session, MainWindowDialogue& dialogue);
  ~frmMain();
  frmMain(const frmMain&) = delete;
  frmMain& operator=(const frmMain&) = delete;

  // Creation of the window (hidden): runs FormLoadatStartup, stage 1.
  void Form_Load();
  // Whether the program has ended: the view was told to end it.
  bool ProgramEnded() const { return ended_; }

  // The handlers the view calls. Each runs as one user command; one that
  // arrives while another runs waits for it. File > Lock folder and
  // File > Unlock folder call cmdUnlockFolder_Click.
  void cmdUnlockFolder_Click();
  void lstFolders_Click();  // a tick set or cleared, or a click in the list
  void cmbStatus_Click();   // a choice made in the drop-down
  void chkEncrypt_Click();  // the box's tick changed
  void cmdAdd_Click();      // also Folders > Add
  void cmdRemove_Click();   // also Folders > Remove
  void mnuHidden_Click();
  void mnuVisible_Click();
  void mnuEncryptfilenames_Click();
  void mnuPreferences_Click();
  void mnuAboutVeilbox_Click();
  void mnuExit_Click();
  // The close box: true when the window stays open. A close that arrives
  // while a command runs stays open for now and is asked once that ends.
  bool Form_QueryUnload();
  // The window became the active one: it shows whether the store folders
  // are unlocked as another copy of Veilbox may have left them.
  void Form_Activate();

  // For the other windows' logic.
  Session& Core() { return session_; }
  CommandQueue& Commands() { return commands_; }
  // The rows the list shows, as the preferences window checks them.
  const std::vector<ListRow>& ListRows() const { return session_.Rows(); }
  // Whether the password dialog creates the password or asks for it.
  LoginMode Login() const { return login_mode_; }
  // frmLogin's outcomes: the right password (show the window and run stage
  // 2), and the end of the program with every window.
  void LoginAccepted();
  void EndProgram();

  // Progress of the engine's passes, from MainWindowDialogue.
  void BeginPass(const std::string& folder);
  void ShowProgress(long value, long maximum);
  void EndPass();
  // A message box or chooser over a running pass shows the normal cursor.
  void PauseBusy(bool paused);

 private:
  void Command(std::function<void()> handler);
  void FormLoadatStartup();
  void LockClicked();
  void StatusChosen(const std::string& verb);
  // Asks the lock question when unlocked; true when the window stays open.
  bool QueryUnload(bool cancellable);
  void ApplyLockState();
  // Shows the state another copy left the store folders in, if it differs.
  void FollowLockState();
  // Shows the list after a command that read it again.
  void ShowRows(const CommandResult& result);
  std::vector<size_t> TickedRows() const;
  void Show(const PassProgress::Shown& shown);

  frmMainView& view_;
  Session& session_;
  MainWindowDialogue& dialogue_;
  CommandQueue commands_;
  MainWindowState lock_state_;
  PassProgress progress_;
  LoginMode login_mode_ = LoginMode::Enter;
  bool password_right_ = false;
  bool in_pass_ = false;
  bool ended_ = false;
};

}  // namespace veilbox
