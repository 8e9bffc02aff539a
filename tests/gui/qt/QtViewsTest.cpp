// The Qt views: each control reaches its handler, each window shows what the
// logic sets, and the keys, the close box and the other windows behave as
// the toolkit's own, over the real logic and engine in a private temporary
// home; the message boxes show their text as plain characters. The logic
// itself is tested without Qt (tests/gui).
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "../LogicFixture.h"
#include "gui/qt/QtAbout.h"
#include "gui/qt/QtDialogue.h"
#include "gui/qt/QtLogin.h"
#include "gui/qt/QtMain.h"
#include "gui/qt/QtOptions.h"

namespace veilbox::testing {
namespace {

class QtTest : public HomeTest {
 protected:
  // A known user's program, after the right password.
  void StartLoggedIn() {
    KnownUser();
    window->Logic().Form_Load();
    ASSERT_NE(window->Login(), nullptr);
    QTest::keyClicks(window->Login()->txtPassword, "secret");
    QTest::keyClick(window->Login()->txtPassword, Qt::Key_Return);
    ASSERT_TRUE(window->isVisible());
  }
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

  std::unique_ptr<QtMain> window = std::make_unique<QtMain>(session, dialogue);
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

  QTest::mouseClick(window->cmdUnlockFolder, Qt::LeftButton);
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

  // The close box asks; Cancel keeps the window, Yes ends the program.
  boxes.Answers({Answer::Cancel, Answer::Yes});
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(window->Logic().ProgramEnded());
  EXPECT_EQ(boxes.boxes.size(), 2u);
}

// A busy cursor said twice is undone by one end.
TEST_F(QtMainWindow, ShowsProgressStatusLineAndBusyCursorAsTold) {
  window->SetProgress(5, 8);
  window->SetStatusLine("Hiding Plans: 5 of 8 files");
  window->SetBusy(true);
  EXPECT_EQ(std::pair(window->pbBar->value(), window->pbBar->maximum()), std::pair(5, 8));
  EXPECT_EQ(window->statusBar()->currentMessage(), "Hiding Plans: 5 of 8 files");
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  window->SetBusy(true);
  window->SetBusy(false);
  window->SetProgress(0, 0);
  window->SetStatusLine("");
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(window->pbBar->value(), 0);
  EXPECT_EQ(window->statusBar()->currentMessage(), "");
}

TEST_F(QtTest, LoginOpensWithTheFocusInTheHiddenPasswordAndEscapeEndsTheProgram) {
  SetSetting("VeilboxFirstTime", "No");
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

// The preferences window elides long paths in the middle and shows each
// drive key whole in its tooltip; Escape closes and destroys it and the
// about box.
TEST_F(QtTest, PreferencesAndAboutAreNotModalElideDriveKeysAndCloseOnEscape) {
  const std::string store = "/media/someone/A-very-long-volume-label-for-a-drive/Store";
  SetSetting("VeilboxHideFolderPath", store + "*");
  StartLoggedIn();
  QTest::mouseClick(window->cmdUnlockFolder, Qt::LeftButton);
  window->mnuPreferences->trigger();
  QtOptions* options = window->Options();
  ASSERT_NE(options, nullptr);
  EXPECT_EQ(options->windowTitle(), "Options");
  EXPECT_FALSE(options->isModal());
  EXPECT_EQ(options->lstFoldersPath->textElideMode(), Qt::ElideMiddle);
  QTreeWidgetItem* row = options->lstFoldersPath->topLevelItem(0);
  EXPECT_EQ(row->text(1).toStdString(), store);
  EXPECT_EQ(row->toolTip(0), row->text(0));
  EXPECT_FALSE(options->cmdEdit->isEnabled());
  const QRect r = options->lstFoldersPath->visualItemRect(row);
  QTest::mouseClick(options->lstFoldersPath->viewport(), Qt::LeftButton, {}, r.center());
  EXPECT_TRUE(options->cmdEdit->isEnabled());
  QTest::keyClick(options, Qt::Key_Escape);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window->Options(), nullptr);

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

// A tag in a typed password, a folder name or an address is not markup.
TEST(QtDialogueBoxes, ShowsTagLikeTextLiterally) {
  const QString text = "<b>pa<s>ss</s>word</b>";
  Qt::TextFormat format = Qt::AutoText;
  QString shown;
  QTimer reader;  // reads the box while it is open, then answers it
  QObject::connect(&reader, &QTimer::timeout, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(widget);
      if (!box || !box->isVisible()) continue;
      const auto* label = box->findChild<QLabel*>("qt_msgbox_label");
      format = label->textFormat();
      shown = label->text();
      box->button(QMessageBox::No)->click();
    }
  });
  reader.start(10);
  EXPECT_EQ(QtDialogue().Show({text.toStdString(), "Password", Icon::Question, Buttons::YesNo}),
            Answer::No);
  EXPECT_EQ(format, Qt::PlainText);
  EXPECT_EQ(shown, text);
}

}  // namespace
}  // namespace veilbox::testing
