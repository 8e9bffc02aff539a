#include "engine/frmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>

#include "app/Constants.h"
#include "app/StartStages.h"
#include "app/Twips.h"
#include "app/frmLogin.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOptions.h"
#include "engine/AddRemove.h"
#include "engine/StatusChange.h"
#include "engine/UnlockMarker.h"

namespace veilbox {
namespace {

enum Column { kFolder, kPath, kStatus, kEncryption };

std::string Text(const QTreeWidgetItem* item, int column) {
  return item->text(column).toStdString();
}

}  // namespace

frmMain::frmMain(AppState& state, MainWindowDialogue& dialogue) : state_(state) {
  setObjectName("frmMain");
  setWindowTitle(kAppname);
  setWindowIcon(QIcon(":/veilbox/veilbox.png"));
  BuildControls();
  BuildMenus();
  ConnectHandlers();
  ApplyLockState();
  dialogue.Attach(pbBar);
  resize(QSize(Twips(14055), Twips(6915) + menuBar()->sizeHint().height()).expandedTo(sizeHint()));
}

frmMain::~frmMain() = default;

void frmMain::Form_Load() {
  FormLoadatStartup();
}

void frmMain::FormLoadatStartup() {
  const StartStage stage = RunStartStage(state_);
  switch (stage.next) {
    case StartStage::Next::EndProgram:
      EndProgram();
      return;
    case StartStage::Next::OpenLogin:
      login_ = std::make_unique<frmLogin>(
          state_, gate_,
          [this] {
            show();
            FormLoadatStartup();
          },
          [this] { EndProgram(); });
      login_->show();
      hide();
      return;
    case StartStage::Next::OpenMainWindow:
      setWindowTitle(QString::fromStdString(stage.caption));
      ShowRows(stage.rows);
      return;
  }
}

frmLogin* frmMain::Login() const {
  return login_.get();
}
frmOptions* frmMain::Options() const {
  return options_;
}
frmAbout* frmMain::About() const {
  return about_;
}

std::vector<ListRow> frmMain::ListRows() const {
  std::vector<ListRow> rows;
  for (int i = 0; i < lstFolders->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = lstFolders->topLevelItem(i);
    rows.push_back(
        {Text(item, kFolder), Text(item, kPath), Text(item, kStatus), Text(item, kEncryption)});
  }
  return rows;
}

void frmMain::closeEvent(QCloseEvent* event) {
  if (ended_) {
    event->accept();
    return;
  }
  // A close that arrives while a command runs is refused like any command.
  bool stay = true;
  gate_.Run([&] { stay = Form_QueryUnload(true); });
  if (stay) {
    event->ignore();
    return;
  }
  event->accept();
  EndProgram();
}

void frmMain::Command(void (frmMain::*handler)()) {
  gate_.Run([&] { (this->*handler)(); });
}

void frmMain::cmdUnlockFolder_Click() {
  if (!lock_state_.Unlocked()) {
    lock_state_.Unlock();
    ApplyLockState();
    UnlockStoreFoldersForAWhile(state_);
    ClearTicks();
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
  ShowRows(ChangeStatus(state_, cmbStatus->currentText().toStdString(), ListedRows(),
                        chkEncrypt->isChecked())
               .rows);
}

void frmMain::chkEncrypt_Click() {
  mnuEncryptfilenames->setChecked(chkEncrypt->isChecked());
}

void frmMain::cmdAdd_Click() {
  ShowRows(AddFolder(state_).rows);
}

void frmMain::cmdRemove_Click() {
  ShowRows(RemoveFolders(state_, ListedRows()).rows);
}

void frmMain::mnuHidden_Click() {
  cmbStatus->setCurrentText(kStatusHidden);
  cmbStatus_Click();
}

void frmMain::mnuVisible_Click() {
  cmbStatus->setCurrentText(kStatusVisible);
  cmbStatus_Click();
}

void frmMain::mnuEncryptfilenames_Click() {
  chkEncrypt->setChecked(!chkEncrypt->isChecked());
}

void frmMain::mnuPreferences_Click() {
  // A second opening shows the open window as it is, rows unchanged.
  if (!options_)
    options_ = new frmOptions(
        state_, gate_, [this] { return ListRows(); }, this);
  options_->show();
  options_->raise();
  options_->activateWindow();
}

void frmMain::mnuAboutVeilbox_Click() {
  if (!about_) about_ = new frmAbout(state_, gate_, this);
  about_->show();
  about_->raise();
  about_->activateWindow();
}

void frmMain::mnuExit_Click() {
  // Unlike the close box, File > Exit ends the program whatever the answer.
  Form_QueryUnload(false);
  EndProgram();
}

bool frmMain::Form_QueryUnload(bool cancellable) {
  if (!lock_state_.Unlocked()) return false;
  const Answer answer = state_.dialogue.Ask("Do you wish to lock the folder?", "Lock",
                                            Icon::Question, Buttons::YesNoCancel);
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

void frmMain::ApplyLockState() {
  cmdUnlockFolder->setText(lock_state_.LockButtonCaption());
  const bool actions = lock_state_.ActionsEnabled();
  for (QWidget* w : std::initializer_list<QWidget*>{fraAction, cmdAdd, cmdRemove, lstFolders}) {
    w->setEnabled(actions);
  }
  for (QAction* a : {mnuAdd, mnuRemove, mnuPreferences, mnuLockFolder}) a->setEnabled(actions);
  mnuUnlockFolder->setEnabled(lock_state_.UnlockMenuEnabled());
  const bool status = lock_state_.StatusGroupEnabled();
  for (QWidget* w : std::initializer_list<QWidget*>{fraStatus, lblStatus, cmbStatus, chkEncrypt}) {
    w->setEnabled(status);
  }
  for (QAction* a : {mnuHidden, mnuVisible, mnuEncryptfilenames}) a->setEnabled(status);
}

void frmMain::ShowRows(const std::optional<std::vector<ListRow>>& rows) {
  if (!rows) return;  // nothing was reloaded: the list keeps what it shows
  // Filling the list is no click: the status group keeps its state.
  const QSignalBlocker quiet(lstFolders);
  lstFolders->clear();
  for (const ListRow& row : *rows) {
    auto* item = new QTreeWidgetItem(
        lstFolders, {QString::fromStdString(row.folder), QString::fromStdString(row.path),
                     QString::fromStdString(row.status), QString::fromStdString(row.encryption)});
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(kFolder, Qt::Unchecked);
  }
}

std::vector<FolderRow> frmMain::ListedRows() const {
  std::vector<FolderRow> rows;
  for (int i = 0; i < lstFolders->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* item = lstFolders->topLevelItem(i);
    rows.push_back(
        {Text(item, kFolder), Text(item, kPath), item->checkState(kFolder) == Qt::Checked});
  }
  return rows;
}

void frmMain::ClearTicks() {
  const QSignalBlocker quiet(lstFolders);
  for (int i = 0; i < lstFolders->topLevelItemCount(); ++i) {
    lstFolders->topLevelItem(i)->setCheckState(kFolder, Qt::Unchecked);
  }
}

void frmMain::EndProgram() {
  ended_ = true;
  if (login_) login_->hide();
  if (options_) options_->hide();
  if (about_) about_->hide();
  hide();
  QCoreApplication::exit(0);
}

}  // namespace veilbox
