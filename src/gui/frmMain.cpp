#include "gui/frmMain.h"

#include "app/Constants.h"
#include "engine/UnlockMarker.h"
#include "gui/MainWindowDialogue.h"

namespace veilbox {

frmMain::frmMain(frmMainView& view, Session& session, MainWindowDialogue& dialogue)
    : view_(view), session_(session), dialogue_(dialogue) {
  dialogue_.Attach(this);
}

frmMain::~frmMain() {
  dialogue_.Attach(nullptr);
}

void frmMain::Form_Load() {
  view_.SetCaption(kAppname);
  ApplyLockState();
  FormLoadatStartup();
}

void frmMain::FormLoadatStartup() {
  const StartStage stage = RunStartStage(session_, password_right_);
  switch (stage.next) {
    case StartStage::Next::EndProgram:
      EndProgram();
      return;
    case StartStage::Next::OpenLogin:
      login_mode_ = stage.mode;
      view_.OpenLogin();
      view_.SetVisible(false);
      return;
    case StartStage::Next::OpenMainWindow:
      view_.SetCaption(stage.caption);
      // A row finished at start-up may have left the bar part full.
      view_.SetProgress(0, 0);
      view_.FillList(session_.Rows());
      return;
  }
}

void frmMain::LoginAccepted() {
  password_right_ = true;
  view_.SetVisible(true);
  FormLoadatStartup();
}

void frmMain::EndProgram() {
  if (ended_) return;
  ended_ = true;
  view_.EndProgram();
}

void frmMain::Command(std::function<void()> handler) {
  commands_.Run(this, [this, handler = std::move(handler)] {
    if (ended_) return;
    FollowLockState();
    handler();
  });
}

void frmMain::Form_Activate() {
  commands_.Run(this, [this] {
    if (!ended_) FollowLockState();
  });
}

void frmMain::FollowLockState() {
  if (!password_right_) return;
  const bool unlocked = HeldUnlockedForWindows(session_);
  if (unlocked == lock_state_.Unlocked()) return;
  if (unlocked) {
    lock_state_.Unlock();
  } else {
    lock_state_.Lock();
    view_.ClearTicks();
  }
  ApplyLockState();
}

void frmMain::cmdUnlockFolder_Click() {
  Command([this] { LockClicked(); });
}

void frmMain::LockClicked() {
  if (!lock_state_.Unlocked()) {
    lock_state_.Unlock();
    ApplyLockState();
    HoldUnlocked(session_, Holder::Window);
    view_.ClearTicks();
  } else {
    lock_state_.Lock();
    ApplyLockState();
    LockForUser(session_);
  }
}

void frmMain::lstFolders_Click() {
  lock_state_.ListClicked(!TickedRows().empty());
  ApplyLockState();
}

void frmMain::cmbStatus_Click() {
  Command([this] { StatusChosen(view_.StatusChoice() == kHidden ? "Hiding" : "Restoring"); });
}

void frmMain::StatusChosen(const std::string& verb) {
  progress_.SetVerb(verb);
  const std::string choice = view_.StatusChoice();
  // Any other choice runs no pass; the list shows what it shows.
  if (choice == kHidden) ShowRows(session_.Hide(TickedRows(), view_.EncryptTicked()));
  if (choice == kVisible) ShowRows(session_.Restore(TickedRows()));
}

void frmMain::chkEncrypt_Click() {
  view_.SetEncryptMenuChecked(view_.EncryptTicked());
}

void frmMain::cmdAdd_Click() {
  Command([this] { ShowRows(session_.Add(1)); });
}

void frmMain::cmdRemove_Click() {
  Command([this] {
    progress_.SetVerb("Removing");
    ShowRows(session_.Remove(TickedRows()));
  });
}

void frmMain::mnuHidden_Click() {
  Command([this] {
    view_.SetStatusChoice(kHidden);
    StatusChosen("Hiding");
  });
}

void frmMain::mnuVisible_Click() {
  Command([this] {
    view_.SetStatusChoice(kVisible);
    StatusChosen("Restoring");
  });
}

void frmMain::mnuEncryptfilenames_Click() {
  Command([this] {
    const bool ticked = !view_.EncryptTicked();
    view_.SetEncryptTicked(ticked);
    view_.SetEncryptMenuChecked(ticked);
  });
}

void frmMain::mnuPreferences_Click() {
  Command([this] { view_.OpenOptions(); });
}

void frmMain::mnuAboutVeilbox_Click() {
  Command([this] { view_.OpenAbout(); });
}

void frmMain::mnuExit_Click() {
  // Unlike the close box, File > Exit ends the program whatever the answer.
  Command([this] {
    QueryUnload(false);
    EndProgram();
  });
}

bool frmMain::Form_QueryUnload() {
  Command([this] {
    if (!QueryUnload(true)) EndProgram();
  });
  return !ended_;
}

bool frmMain::QueryUnload(bool cancellable) {
  if (!lock_state_.Unlocked()) return false;
  const Answer answer = session_.dialogue.Ask(ask::LockOnClose{});
  switch (AfterLockQuestion(answer, cancellable)) {
    case CloseAction::StayOpen:
      return true;
    case CloseAction::LockAndClose:
      LockForUser(session_);
      return false;
    case CloseAction::Close:
      LeaveUnlocked(session_);
      return false;
  }
  return false;
}

void frmMain::BeginPass(const std::string& folder) {
  in_pass_ = true;
  view_.SetBusy(true);
  Show(progress_.Begin(folder));
}

void frmMain::ShowProgress(long value, long maximum) {
  if (const std::optional<PassProgress::Shown> shown = progress_.Progress(value, maximum)) {
    Show(*shown);
  }
}

void frmMain::EndPass() {
  Show(progress_.End());
  in_pass_ = false;
  view_.SetBusy(false);
}

void frmMain::PauseBusy(bool paused) {
  if (in_pass_) view_.SetBusy(!paused);
}

void frmMain::Show(const PassProgress::Shown& shown) {
  view_.SetProgress(shown.value, shown.maximum);
  view_.SetStatusLine(shown.line);
}

void frmMain::ApplyLockState() {
  view_.SetLockButtonCaption(lock_state_.LockButtonCaption());
  const bool actions = lock_state_.ActionsEnabled();
  for (MainControl c : {MainControl::fraAction, MainControl::cmdAdd, MainControl::cmdRemove,
                        MainControl::lstFolders, MainControl::mnuAdd, MainControl::mnuRemove,
                        MainControl::mnuPreferences, MainControl::mnuLockFolder}) {
    view_.SetEnabled(c, actions);
  }
  view_.SetEnabled(MainControl::mnuUnlockFolder, lock_state_.UnlockMenuEnabled());
  const bool status = lock_state_.StatusGroupEnabled();
  for (MainControl c : {MainControl::fraStatus, MainControl::lblStatus, MainControl::cmbStatus,
                        MainControl::chkEncrypt, MainControl::mnuHidden, MainControl::mnuVisible,
                        MainControl::mnuEncryptfilenames}) {
    view_.SetEnabled(c, status);
  }
}

void frmMain::ShowRows(const CommandResult& result) {
  // Nothing was read again (a cancelled add): the list keeps what it shows.
  if (result.reloaded) view_.FillList(session_.Rows());
}

std::vector<size_t> frmMain::TickedRows() const {
  const std::vector<bool> ticks = view_.Ticks();
  std::vector<size_t> rows;
  for (size_t i = 0; i < ticks.size() && i < session_.Rows().size(); ++i) {
    if (ticks[i]) rows.push_back(i);
  }
  return rows;
}

}  // namespace veilbox
