#include "gui/frmMain.h"

#include "app/Constants.h"
#include "engine/AddRemove.h"
#include "engine/StatusChange.h"
#include "engine/UnlockMarker.h"
#include "gui/MainWindowDialogue.h"
#include "gui/StartStages.h"

namespace veilbox {

frmMain::frmMain(frmMainView& view, AppState& state, MainWindowDialogue& dialogue)
    : view_(view), state_(state), dialogue_(dialogue) {
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
  const StartStage stage = RunStartStage(state_);
  switch (stage.next) {
    case StartStage::Next::EndProgram:
      EndProgram();
      return;
    case StartStage::Next::OpenLogin:
      view_.OpenLogin();
      view_.SetVisible(false);
      return;
    case StartStage::Next::OpenMainWindow:
      view_.SetCaption(stage.caption);
      // A row finished at start-up may have left the bar part full.
      view_.SetProgress(0, 0);
      ShowRows(stage.rows);
      return;
  }
}

void frmMain::LoginAccepted() {
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
    if (!ended_) handler();
  });
}

void frmMain::cmdUnlockFolder_Click() {
  Command([this] { LockClicked(); });
}

void frmMain::LockClicked() {
  if (!lock_state_.Unlocked()) {
    lock_state_.Unlock();
    ApplyLockState();
    UnlockStoreFoldersForAWhile(state_);
    view_.ClearTicks();
  } else {
    lock_state_.Lock();
    ApplyLockState();
    LockStoreFoldersAgain(state_);
  }
}

void frmMain::lstFolders_Click() {
  bool any_ticked = false;
  for (const FolderRow& row : ListedRows()) any_ticked = any_ticked || row.ticked;
  lock_state_.ListClicked(any_ticked);
  ApplyLockState();
}

void frmMain::cmbStatus_Click() {
  Command([this] { StatusChosen(view_.StatusChoice() == kStatusHidden ? "Hiding" : "Restoring"); });
}

void frmMain::StatusChosen(const std::string& verb) {
  progress_.SetVerb(verb);
  ShowRows(ChangeStatus(state_, view_.StatusChoice(), ListedRows(), view_.EncryptTicked()).rows);
}

void frmMain::chkEncrypt_Click() {
  view_.SetEncryptMenuChecked(view_.EncryptTicked());
}

void frmMain::cmdAdd_Click() {
  Command([this] { ShowRows(AddFolder(state_).rows); });
}

void frmMain::cmdRemove_Click() {
  Command([this] {
    progress_.SetVerb("Removing");
    ShowRows(RemoveFolders(state_, ListedRows()).rows);
  });
}

void frmMain::mnuHidden_Click() {
  Command([this] {
    view_.SetStatusChoice(kStatusHidden);
    StatusChosen("Hiding");
  });
}

void frmMain::mnuVisible_Click() {
  Command([this] {
    view_.SetStatusChoice(kStatusVisible);
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
  const Answer answer = state_.dialogue.Ask(ask::LockOnClose{});
  switch (AfterLockQuestion(answer, cancellable)) {
    case CloseAction::StayOpen:
      return true;
    case CloseAction::LockAndClose:
      LockStoreFoldersAgain(state_);
      return false;
    case CloseAction::Close:
      LeaveStoreFoldersUnlocked(state_);
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

void frmMain::ShowRows(const std::optional<std::vector<ListRow>>& rows) {
  if (!rows) return;  // nothing was reloaded: the list keeps what it shows
  rows_ = *rows;
  view_.FillList(rows_);
}

std::vector<FolderRow> frmMain::ListedRows() const {
  const std::vector<bool> ticks = view_.Ticks();
  std::vector<FolderRow> rows;
  for (size_t i = 0; i < rows_.size(); ++i) {
    rows.push_back({rows_[i].folder, rows_[i].path, i < ticks.size() && ticks[i]});
  }
  return rows;
}

}  // namespace veilbox
