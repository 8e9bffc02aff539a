// The Qt views: each control reaches its handler, each window shows what the
// logic sets, and the keys, the close box and the other windows behave as
// the toolkit's own, over the real logic and engine in a private temporary
// home. The logic itself is tested without Qt (tests/gui).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <memory>
#include <string>

#include "app/Constants.h"
#include "app/Password.h"
#include "app/Settings.h"
#include "gui/MainWindowDialogue.h"
#include "gui/qt/QtAbout.h"
#include "gui/qt/QtLogin.h"
#include "gui/qt/QtMain.h"
#include "gui/qt/QtOptions.h"
#include "support/ScriptedDialogue.h"
#include "support/TempHome.h"
#include "support/TwoDrivePlatform.h"

namespace veilbox::testing {
namespace {

namespace fs = std::filesystem;

class QtTest : public ::testing::Test {
 protected:
  QtTest()
      : dialogue(boxes),
        platform(home.Root() / "driveB"),
        state(platform, dialogue),
        window(std::make_unique<QtMain>(state, dialogue)) {}

  // A known user's program, after the right password.
  void StartLoggedIn() {
    ASSERT_TRUE(SaveString(state, SettingsRoot::CurrentUser, kMainKey, "VeilboxFirstTime", "No"));
    ScriptedDialogue quiet;
    AppState earlier(platform, quiet);
    earlier.Appname = kAppname;
    earlier.MainKey = kMainKey;
    earlier.EncryptDecryptKey = std::string(kAppname) + kKeyText;
    ASSERT_TRUE(StorePassword(earlier, "secret"));
    window->Logic().Form_Load();
    ASSERT_NE(window->Login(), nullptr);
    QTest::keyClicks(window->Login()->txtPassword, "secret");
    QTest::keyClick(window->Login()->txtPassword, Qt::Key_Return);
    ASSERT_TRUE(window->isVisible());
  }

  static void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
  // A click on a row's check box, where a user clicks.
  void ClickTick(int index) {
    QTreeWidget* list = window->lstFolders;
    QStyleOptionViewItem option;
    option.initFrom(list->viewport());
    option.rect = list->visualItemRect(list->topLevelItem(index));
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    const QRect box =
        list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
  }
  std::string Cell(int row, int column) {
    return window->lstFolders->topLevelItem(row)->text(column).toStdString();
  }

  TempHome home;
  ScriptedDialogue boxes;
  MainWindowDialogue dialogue;
  TwoDrivePlatform platform;
  AppState state;
  std::unique_ptr<QtMain> window;
};

using QtMainWindow = QtTest;

TEST_F(QtMainWindow, ControlsReachTheLogicAndTheWindowShowsWhatItSets) {
  const fs::path plans = home.MakeFolder("user/Plans");
  WriteText(plans / "a.txt", "a");
  home.MakeFolder("program/Data");
  StartLoggedIn();
  EXPECT_EQ(window->windowTitle(), "Veilbox 1.04");
  EXPECT_FALSE(window->cmdAdd->isEnabled());
  EXPECT_TRUE(window->mnuUnlockFolder->isEnabled());

  Click(window->cmdUnlockFolder);
  EXPECT_EQ(window->cmdUnlockFolder->text(), "Lock folder");
  EXPECT_TRUE(window->cmdAdd->isEnabled());
  EXPECT_FALSE(window->mnuUnlockFolder->isEnabled());
  boxes.Folders({plans.string()});
  window->mnuAdd->trigger();
  ASSERT_EQ(window->lstFolders->topLevelItemCount(), 1);
  EXPECT_FALSE(window->cmbStatus->isEnabled());

  ClickTick(0);
  EXPECT_EQ(window->lstFolders->topLevelItem(0)->checkState(0), Qt::Checked);
  EXPECT_TRUE(window->cmbStatus->isEnabled());
  QTest::mouseClick(window->chkEncrypt, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_TRUE(window->mnuEncryptfilenames->isChecked());
  // Down in the closed box picks "Hidden", as a user's choice.
  QTest::keyClick(window->cmbStatus, Qt::Key_Down);
  EXPECT_EQ(Cell(0, 2), "Hidden");
  EXPECT_EQ(Cell(0, 3), "Encrypted");
  EXPECT_EQ(window->lstFolders->topLevelItem(0)->checkState(0), Qt::Unchecked);
  EXPECT_EQ(window->pbBar->value(), 0) << "the bar is cleared after the pass";
  EXPECT_EQ(window->statusBar()->currentMessage(), "");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy cursor is gone";

  // The close box asks; Cancel keeps the window, Yes ends the program.
  boxes.Answers({Answer::Cancel, Answer::Yes});
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(window->Logic().ProgramEnded());
  EXPECT_EQ(boxes.boxes.size(), 2u);
}

TEST_F(QtMainWindow, ShowsProgressStatusLineAndBusyCursorAsTold) {
  window->SetProgress(5, 8);
  window->SetStatusLine("Hiding Plans: 5 of 8 files");
  window->SetBusy(true);
  EXPECT_EQ(window->pbBar->maximum(), 8);
  EXPECT_EQ(window->pbBar->value(), 5);
  EXPECT_EQ(window->statusBar()->currentMessage(), "Hiding Plans: 5 of 8 files");
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  window->SetBusy(true);  // said twice, undone once
  window->SetBusy(false);
  window->SetProgress(0, 0);
  window->SetStatusLine("");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(window->pbBar->value(), 0);
  EXPECT_EQ(window->statusBar()->currentMessage(), "");
}

using QtLoginWindow = QtTest;

TEST_F(QtLoginWindow, OpensWithTheFocusInTheHiddenPasswordAndEscapeEndsTheProgram) {
  ASSERT_TRUE(SaveString(state, SettingsRoot::CurrentUser, kMainKey, "VeilboxFirstTime", "No"));
  boxes.Answers({Answer::Yes});
  window->Logic().Form_Load();
  QtLogin* login = window->Login();
  ASSERT_NE(login, nullptr);
  EXPECT_EQ(login->windowTitle(), "Login");
  EXPECT_FALSE(login->isModal());
  EXPECT_EQ(login->focusWidget(), login->txtPassword);
  EXPECT_EQ(login->txtPassword->echoMode(), QLineEdit::Password);
  EXPECT_TRUE(login->cmdOK->isDefault());
  QTest::keyClick(login->txtPassword, Qt::Key_Escape);
  EXPECT_TRUE(window->Logic().ProgramEnded());
  EXPECT_FALSE(login->isVisible());
}

using QtPreferencesAndAbout = QtTest;

TEST_F(QtPreferencesAndAbout, NotModalElidedDriveKeysAndEscapeCloses) {
  const std::string mount = "/media/someone/A-very-long-volume-label-for-a-drive/";
  const std::string store = mount + "Store";
  ASSERT_TRUE(
      SaveString(state, SettingsRoot::CurrentUser, kMainKey, "VeilboxHideFolderPath", store + "*"));
  StartLoggedIn();
  Click(window->cmdUnlockFolder);
  window->mnuPreferences->trigger();
  QtOptions* options = window->Options();
  ASSERT_NE(options, nullptr);
  EXPECT_EQ(options->windowTitle(), "Options");
  EXPECT_FALSE(options->isModal());
  EXPECT_EQ(options->lstFoldersPath->textElideMode(), Qt::ElideMiddle);
  QTreeWidgetItem* row = options->lstFoldersPath->topLevelItem(0);
  EXPECT_EQ(row->text(1).toStdString(), store);
  EXPECT_EQ(row->toolTip(0), row->text(0)) << "the whole drive key as tooltip";
  EXPECT_FALSE(options->cmdEdit->isEnabled());
  const QRect r = options->lstFoldersPath->visualItemRect(row);
  QTest::mouseClick(options->lstFoldersPath->viewport(), Qt::LeftButton, {}, r.center());
  EXPECT_TRUE(options->cmdEdit->isEnabled());
  QTest::keyClick(options, Qt::Key_Escape);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window->Options(), nullptr) << "closing destroys the window";

  window->mnuAboutVeilbox->trigger();
  QtAbout* about = window->About();
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->windowTitle(), "About Veilbox");
  EXPECT_EQ(about->lblTitle->text(), "Veilbox");
  EXPECT_EQ(about->lblVersion->text(), "1.04");
  QTest::keyClick(about, Qt::Key_Escape);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window->About(), nullptr);
  EXPECT_TRUE(boxes.boxes.empty());
}

}  // namespace
}  // namespace veilbox::testing
