// frmMain: the folder list with its Add and Remove buttons, the status box,
// the Lock/Unlock button, the progress bar and the menus. Its load step runs
// the start-up stages; closing it may lock the store folders.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <optional>
#include <vector>

#include "app/AppState.h"
#include "engine/CommandGate.h"
#include "engine/FolderRow.h"
#include "engine/MainWindowDialogue.h"
#include "gui/MainWindowState.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace veilbox {

class frmAbout;
class frmLogin;
class frmOptions;

class frmMain : public QMainWindow {
  Q_OBJECT

 public:
  // dialogue is the one state talks through; the window shows its progress.
  frmMain(AppState& state, MainWindowDialogue& dialogue);
  ~frmMain() override;

  // Creation of the window: runs FormLoadatStartup, stage 1.
  void Form_Load();
  // Stage 1 (password dialog) or stage 2 (caption and list), by DonePassword.
  void FormLoadatStartup();

  // Whether the program has ended; the event loop has been told to quit.
  bool ProgramEnded() const { return ended_; }

  // The rows the list shows, as the preferences window checks them.
  std::vector<ListRow> ListRows() const;

  // The other windows, while they exist.
  frmLogin* Login() const;
  frmOptions* Options() const;
  frmAbout* About() const;

  QTreeWidget* lstFolders;
  QGroupBox* fraAction;
  QPushButton* cmdAdd;
  QPushButton* cmdRemove;
  QGroupBox* fraStatus;
  QLabel* lblStatus;
  QComboBox* cmbStatus;
  QCheckBox* chkEncrypt;
  QPushButton* cmdUnlockFolder;
  QProgressBar* pbBar;

  QMenu* mnuFile;
  QAction* mnuLockFolder;
  QAction* mnuUnlockFolder;
  QAction* mnuExit;
  QMenu* mnuFolders;
  QAction* mnuAdd;
  QAction* mnuRemove;
  QMenu* mnuStatus;
  QAction* mnuHidden;
  QAction* mnuVisible;
  QAction* mnuEncryptfilenames;
  QMenu* mnuOptions;
  QAction* mnuPreferences;
  QMenu* mnuAbout;
  QAction* mnuAboutVeilbox;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // frmMainLayout.cpp
  void BuildControls();
  void BuildMenus();
  void ConnectHandlers();

  // Runs a handler as one user command: not while another one runs.
  void Command(void (frmMain::*handler)());

  void cmdUnlockFolder_Click();
  void lstFolders_Click();
  void cmbStatus_Click();
  void chkEncrypt_Click();
  void cmdAdd_Click();
  void cmdRemove_Click();
  void mnuHidden_Click();
  void mnuVisible_Click();
  void mnuEncryptfilenames_Click();
  void mnuPreferences_Click();
  void mnuAboutVeilbox_Click();
  void mnuExit_Click();
  // Asks the lock question when unlocked; true when the window stays open.
  bool Form_QueryUnload(bool cancellable);

  void ApplyLockState();
  void ShowRows(const std::optional<std::vector<ListRow>>& rows);
  std::vector<FolderRow> ListedRows() const;
  void ClearTicks();
  // Ends the program at once: every window goes, with no further question.
  void EndProgram();

  AppState& state_;
  CommandGate gate_;
  MainWindowState lock_state_;
  bool ended_ = false;
  std::unique_ptr<frmLogin> login_;
  QPointer<frmOptions> options_;
  QPointer<frmAbout> about_;
};

}  // namespace veilbox
