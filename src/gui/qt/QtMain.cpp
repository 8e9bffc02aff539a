#include "gui/qt/QtMain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTreeWidget>
#include <algorithm>
#include <climits>

#include "app/Constants.h"
#include "gui/Twips.h"
#include "gui/qt/QtAbout.h"
#include "gui/qt/QtLogin.h"
#include "gui/qt/QtOptions.h"

namespace veilbox {
namespace {

enum Column { kFolder, kPath, kStatus, kEncryption };

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

int ToInt(long value) {
  return static_cast<int>(std::clamp<long>(value, 0, INT_MAX));
}

}  // namespace

QtMain::QtMain(Session& session, MainWindowDialogue& dialogue) : logic_(*this, session, dialogue) {
  setObjectName("frmMain");
  setWindowIcon(QIcon(":/veilbox/veilbox.png"));
  BuildControls();
  BuildMenus();
  ConnectHandlers();
  resize(QSize(Twips(14055), Twips(6915) + menuBar()->sizeHint().height()).expandedTo(sizeHint()));
}

QtMain::~QtMain() {
  // The other windows' logic reaches this window's: they go first.
  delete options_;
  delete about_;
  login_.reset();
  SetBusy(false);
}

QtLogin* QtMain::Login() const {
  return login_.get();
}
QtOptions* QtMain::Options() const {
  return options_;
}
QtAbout* QtMain::About() const {
  return about_;
}

void QtMain::closeEvent(QCloseEvent* event) {
  if (logic_.ProgramEnded() || !logic_.Form_QueryUnload()) {
    event->accept();
  } else {
    event->ignore();
  }
}

bool QtMain::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) logic_.Form_Activate();
  return QMainWindow::event(event);
}

void QtMain::SetCaption(const std::string& caption) {
  setWindowTitle(Q(caption));
}

void QtMain::SetLockButtonCaption(const std::string& caption) {
  cmdUnlockFolder->setText(Q(caption));
}

void QtMain::SetEnabled(MainControl control, bool enabled) {
  QWidget* widget = nullptr;
  QAction* action = nullptr;
  switch (control) {
    case MainControl::lstFolders:
      widget = lstFolders;
      break;
    case MainControl::fraAction:
      widget = fraAction;
      break;
    case MainControl::cmdAdd:
      widget = cmdAdd;
      break;
    case MainControl::cmdRemove:
      widget = cmdRemove;
      break;
    case MainControl::fraStatus:
      widget = fraStatus;
      break;
    case MainControl::lblStatus:
      widget = lblStatus;
      break;
    case MainControl::cmbStatus:
      widget = cmbStatus;
      break;
    case MainControl::chkEncrypt:
      widget = chkEncrypt;
      break;
    case MainControl::cmdUnlockFolder:
      widget = cmdUnlockFolder;
      break;
    case MainControl::mnuLockFolder:
      action = mnuLockFolder;
      break;
    case MainControl::mnuUnlockFolder:
      action = mnuUnlockFolder;
      break;
    case MainControl::mnuAdd:
      action = mnuAdd;
      break;
    case MainControl::mnuRemove:
      action = mnuRemove;
      break;
    case MainControl::mnuHidden:
      action = mnuHidden;
      break;
    case MainControl::mnuVisible:
      action = mnuVisible;
      break;
    case MainControl::mnuEncryptfilenames:
      action = mnuEncryptfilenames;
      break;
    case MainControl::mnuPreferences:
      action = mnuPreferences;
      break;
  }
  if (widget) widget->setEnabled(enabled);
  if (action) action->setEnabled(enabled);
}

void QtMain::FillList(const std::vector<ListRow>& rows) {
  const QSignalBlocker quiet(lstFolders);
  lstFolders->clear();
  for (const ListRow& row : rows) {
    auto* item = new QTreeWidgetItem(
        lstFolders, {Q(row.folder), Q(row.path), Q(row.status), Q(row.encryption)});
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(kFolder, Qt::Unchecked);
  }
}

std::vector<bool> QtMain::Ticks() const {
  std::vector<bool> ticks;
  for (int i = 0; i < lstFolders->topLevelItemCount(); ++i) {
    ticks.push_back(lstFolders->topLevelItem(i)->checkState(kFolder) == Qt::Checked);
  }
  return ticks;
}

void QtMain::ClearTicks() {
  const QSignalBlocker quiet(lstFolders);
  for (int i = 0; i < lstFolders->topLevelItemCount(); ++i) {
    lstFolders->topLevelItem(i)->setCheckState(kFolder, Qt::Unchecked);
  }
}

std::string QtMain::StatusChoice() const {
  return cmbStatus->currentText().toStdString();
}

void QtMain::SetStatusChoice(const std::string& text) {
  const QSignalBlocker quiet(cmbStatus);
  cmbStatus->setCurrentText(Q(text));
}

bool QtMain::EncryptTicked() const {
  return chkEncrypt->isChecked();
}

void QtMain::SetEncryptTicked(bool ticked) {
  const QSignalBlocker quiet(chkEncrypt);
  chkEncrypt->setChecked(ticked);
}

void QtMain::SetEncryptMenuChecked(bool checked) {
  mnuEncryptfilenames->setChecked(checked);
}

void QtMain::SetProgress(long value, long maximum) {
  pbBar->setMaximum(maximum > 0 ? ToInt(maximum) : 100);
  pbBar->setValue(maximum > 0 ? ToInt(value) : 0);
}

void QtMain::SetStatusLine(const std::string& text) {
  statusBar()->showMessage(Q(text));
}

void QtMain::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void QtMain::SetVisible(bool visible) {
  setVisible(visible);
}

void QtMain::OpenLogin() {
  login_ = std::make_unique<QtLogin>(logic_);
  login_->show();
}

void QtMain::OpenOptions() {
  if (!options_) options_ = new QtOptions(logic_, this);
  options_->show();
  options_->raise();
  options_->activateWindow();
}

void QtMain::OpenAbout() {
  if (!about_) about_ = new QtAbout(logic_, this);
  about_->show();
  about_->raise();
  about_->activateWindow();
}

void QtMain::EndProgram() {
  if (login_) login_->hide();
  if (options_) options_->hide();
  if (about_) about_->hide();
  hide();
  SetBusy(false);
  QCoreApplication::exit(0);
}

}  // namespace veilbox
