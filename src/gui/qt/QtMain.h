// The Qt view of frmMain: the folder list with its Add and Remove buttons,
// the status box, the Lock/Unlock button, the progress bar, the status bar
// and the menus. It owns the window's logic and the other windows' views.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "app/Session.h"
#include "gui/MainWindowDialogue.h"
#include "gui/frmMain.h"
#include "gui/frmMainView.h"

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

class QtAbout;
class QtLogin;
class QtOptions;

class QtMain : public QMainWindow, public frmMainView {
  Q_OBJECT

 public:
  // dialogue is the one session talks through; the window shows its progress.
  QtMain(Session& session, MainWindowDialogue& dialogue);
  ~QtMain() override;

  frmMain& Logic() { return logic_; }

  // The other windows, while they exist.
  QtLogin* Login() const;
  QtOptions* Options() const;
  QtAbout* About() const;

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

  // frmMainView
  void SetCaption(const std::string& caption) override;
  void SetLockButtonCaption(const std::string& caption) override;
  void SetEnabled(MainControl control, bool enabled) override;
  void FillList(const std::vector<ListRow>& rows) override;
  std::vector<bool> Ticks() const override;
  void ClearTicks() override;
  std::string StatusChoice() const override;
  void SetStatusChoice(const std::string& text) override;
  bool EncryptTicked() const override;
  void SetEncryptTicked(bool ticked) override;
  void SetEncryptMenuChecked(bool checked) override;
  void SetProgress(long value, long maximum) override;
  void SetStatusLine(const std::string& text) override;
  void SetBusy(bool busy) override;
  void SetVisible(bool visible) override;
  void OpenLogin() override;
  void OpenOptions() override;
  void OpenAbout() override;
  void EndProgram() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  // The window became the active one: Form_Activate.
  bool event(QEvent* event) override;

 private:
  // QtMainLayout.cpp
  void BuildControls();
  void BuildMenus();
  void ConnectHandlers();

  frmMain logic_;
  bool busy_ = false;
  std::unique_ptr<QtLogin> login_;
  QPointer<QtOptions> options_;
  QPointer<QtAbout> about_;
};

}  // namespace veilbox
