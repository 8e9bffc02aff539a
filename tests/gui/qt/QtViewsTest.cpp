// The Qt views over the real logic: what it sets shows, controls reach their handlers.
#include <QTest>
#include <QtWidgets>
#include <set>

#include "gui/qt/QtAbout.h"
#include "gui/qt/QtDialogue.h"
#include "gui/qt/QtLogin.h"
#include "gui/qt/QtMain.h"
#include "gui/qt/QtOptions.h"
#include "support/HomeTest.h"

namespace veilbox::testing {
namespace {

class QtTest : public HomeTest {
 protected:
  QtTest() : HomeTest([](Dialogue& d) { return std::make_unique<MainWindowDialogue>(d); }) {}
  void StartLoggedIn() {
    KnownUser();
    window->Logic().Form_Load();
    QTest::keyClicks(window->Login()->txtPassword, "secret");
    QTest::keyClick(window->Login()->txtPassword, Qt::Key_Return);
    ASSERT_TRUE(window->isVisible());
  }

  std::unique_ptr<QtMain> window =
      std::make_unique<QtMain>(session, static_cast<MainWindowDialogue&>(session.dialogue));
};
using QtMainWindow = QtTest;

bool InLayout(QLayout* layout, QWidget* widget) {
  for (int i = 0; layout && i < layout->count(); ++i)
    if (layout->itemAt(i)->widget() == widget || InLayout(layout->itemAt(i)->layout(), widget))
      return true;
  return false;
}

// An action in a menu of the menu bar; a visible widget placed by its parents' layouts.
bool ShownIn(QWidget& window, QObject* object) {
  if (auto* action = qobject_cast<QAction*>(object)) {
    const QList<QAction*> menus = static_cast<QMainWindow&>(window).menuBar()->actions();
    return action->isVisible() && std::ranges::any_of(action->associatedObjects(), [&](QObject* o) {
             auto* menu = qobject_cast<QMenu*>(o);
             return menu && menus.contains(menu->menuAction());
           });
  }
  auto* widget = qobject_cast<QWidget*>(object);
  if (!widget || !widget->isVisible()) return false;
  for (QWidget* w = widget; w != &window; w = w->parentWidget())
    if (!w->parentWidget() || !InLayout(w->parentWidget()->layout(), w)) return false;
  return true;
}

// Every named control of a dialog (not Qt's own parts) is placed up to it.
void ExpectPlaced(QWidget& dialog) {
  for (QWidget* w : dialog.findChildren<QWidget*>())
    EXPECT_TRUE(w->objectName().isEmpty() || w->objectName().startsWith("qt_") ||
                ShownIn(dialog, w))
        << w->objectName().toStdString();
}

// Each SetEnabled greys one control of its own; all shows; one end undoes two busy cursors.
TEST_F(QtMainWindow, EverythingTheLogicSetsShowsInTheWindow) {
  window->SetVisible(true);
  std::vector<QObject*> shown;
  for (int c = 0; c <= static_cast<int>(MainControl::mnuPreferences); ++c) {
    window->SetEnabled(MainControl(c), false);
    std::vector<QObject*> greyed;
    for (QWidget* w : window->findChildren<QWidget*>())
      if (w->testAttribute(Qt::WA_ForceDisabled)) greyed.push_back(w);
    for (QAction* a : window->findChildren<QAction*>())
      if (!a->isEnabled()) greyed.push_back(a);
    window->SetEnabled(MainControl(c), true);
    ASSERT_EQ(greyed.size(), 1u) << "control " << c;
    shown.push_back(greyed[0]);
  }
  EXPECT_EQ(std::set(shown.begin(), shown.end()).size(), shown.size());

  window->FillList({{"Plans", "/work/", kHidden, "Encrypted"}});
  window->SetLockButtonCaption("Lock folder");
  window->SetStatusChoice(kHidden);
  window->SetProgress(5, 8);
  window->SetStatusLine("Hiding Plans: 5 of 8 files");
  QStringList header;
  for (int c = 0; c < window->lstFolders->columnCount(); ++c)
    header << window->lstFolders->headerItem()->text(c);
  EXPECT_EQ(header, QStringList({"Folder", "Folder path", "Status", "Encrypted"}));
  // A flat list: a row starts at the left edge, with no room kept for a tree's branches.
  EXPECT_EQ(window->lstFolders->visualItemRect(window->lstFolders->topLevelItem(0)).left(), 0);
  EXPECT_EQ(
      QStringList({window->lstFolders->topLevelItem(0)->text(3), window->cmdUnlockFolder->text(),
                   window->cmbStatus->currentText(), window->statusBar()->currentMessage()}),
      QStringList({"Encrypted", "Lock folder", kHidden, "Hiding Plans: 5 of 8 files"}));
  EXPECT_EQ(
      std::tuple(window->pbBar->value(), window->pbBar->maximum(), window->pbBar->isTextVisible()),
      std::tuple(5, 8, false));
  shown.insert(shown.end(),
               {window->lstFolders, window->cmdUnlockFolder, window->cmbStatus, window->chkEncrypt,
                window->mnuEncryptfilenames, window->pbBar, window->statusBar()});
  for (QObject* object : shown)
    EXPECT_TRUE(ShownIn(*window, object)) << object->objectName().toStdString();

  window->SetBusy(true);
  ASSERT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  window->SetBusy(true);
  window->SetBusy(false);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  window->SetProgress(0, 0);
  EXPECT_EQ(std::pair(window->pbBar->value(), window->pbBar->maximum()), std::pair(0, 100));
}

// The login opens with the focus in the password, shown as "*"; Return on Cancel presses OK
// (which asks for a password); Escape ends the program.
TEST_F(QtTest, LoginOpensWithTheFocusInTheHiddenPasswordAndEscapeEndsTheProgram) {
  SetSetting("VeilboxFirstTime", "No");
  window->Logic().Form_Load();
  QtLogin* login = window->Login();
  QLineEdit* field = login->txtPassword;
  EXPECT_EQ(std::tuple(login->windowTitle(), login->isModal(), login->focusWidget(),
                       field->echoMode(), login->cmdOK->isDefault()),
            std::tuple(QString("Login"), false, field, QLineEdit::Password, true));
  EXPECT_EQ(field->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, 0, field), '*');
  login->cmdCancel->setFocus();
  QTest::keyClick(login->cmdCancel, Qt::Key_Return);
  QTest::keyClick(field, Qt::Key_Escape);
  EXPECT_EQ(std::tuple(window->Logic().ProgramEnded(), login->isVisible(), dialogue.boxes.size()),
            std::tuple(true, false, 2u));
}

TEST_F(QtMainWindow, ControlsReachTheirHandlers) {
  const auto plans = home.MakeFolder("user/Plans");
  WriteText(plans / "a.txt", "a");
  home.MakeFolder("program/Data");
  StartLoggedIn();
  EXPECT_EQ(window->windowTitle(), "Veilbox 1.04");
  QTest::mouseClick(window->cmdUnlockFolder, Qt::LeftButton);
  dialogue.Folders({plans.string(), home.MakeFolder("user/Notes").string()});
  QTest::mouseClick(window->cmdAdd, Qt::LeftButton);
  window->mnuAdd->trigger();
  QTreeWidgetItem* row = window->lstFolders->topLevelItem(0);
  EXPECT_EQ(std::pair(window->lstFolders->topLevelItemCount(),
                      !!(row->flags() & Qt::ItemIsUserCheckable)),
            std::pair(2, true));
  row->setCheckState(0, Qt::Checked);
  EXPECT_TRUE(window->cmbStatus->isEnabled());
  // The box and Status > Encrypt filenames keep one check mark.
  QTest::mouseClick(window->chkEncrypt, Qt::LeftButton, {}, QPoint(5, 5));
  for (bool on : {true, false, true}) {
    EXPECT_EQ(std::pair(window->chkEncrypt->isChecked(), window->mnuEncryptfilenames->isChecked()),
              std::pair(on, on));
    window->mnuEncryptfilenames->trigger();
  }
  window->mnuEncryptfilenames->trigger();
  QTest::keyClick(window->cmbStatus, Qt::Key_Down);  // picks "Hidden", as a user's choice
  row = window->lstFolders->topLevelItem(0);
  EXPECT_EQ(std::tuple(row->text(2), row->text(3), row->checkState(0)),
            std::tuple(QString(kHidden), QString("Encrypted"), Qt::Unchecked));
  // The close box and File > Exit ask; then the window closes unasked.
  dialogue.Answers({Answer::Cancel, Answer::Cancel});
  EXPECT_FALSE(window->close());
  window->mnuExit->trigger();
  EXPECT_TRUE(window->Logic().ProgramEnded());
  EXPECT_TRUE(window->close());
  EXPECT_EQ(dialogue.boxes.size(), 2u);
}

// Options elides paths, shows the drive key as tooltip, ignores Return; Escape closes both.
TEST_F(QtTest, PreferencesAndAboutAreNotModalElideDriveKeysAndCloseOnEscape) {
  const std::string store = "/media/someone/A-very-long-volume-label-for-a-drive/Store";
  SetSetting("VeilboxHideFolderPath", store + "*");
  StartLoggedIn();
  QTest::mouseClick(window->cmdUnlockFolder, Qt::LeftButton);
  window->mnuPreferences->trigger();
  QtOptions* options = window->Options();
  QTreeWidgetItem* row = options->lstFoldersPath->topLevelItem(0);
  EXPECT_EQ(std::tuple(options->windowTitle(), options->isModal(),
                       options->lstFoldersPath->textElideMode(), row->text(1), row->toolTip(0),
                       options->cmdEdit->isEnabled()),
            std::tuple(QString("Options"), false, Qt::ElideMiddle, QString::fromStdString(store),
                       row->text(0), false));
  ExpectPlaced(*options);
  QTest::keyClick(options->lstFoldersPath, Qt::Key_Return);
  EXPECT_TRUE(dialogue.chooser_titles.empty());
  const QRect r = options->lstFoldersPath->visualItemRect(row);
  QTest::mouseClick(options->lstFoldersPath->viewport(), Qt::LeftButton, {}, r.center());
  window->mnuPreferences->trigger();
  // A second opening keeps the window as it is.
  EXPECT_EQ(std::pair(window->Options(), options->cmdEdit->isEnabled()), std::pair(options, true));
  QTest::keyClick(options, Qt::Key_Escape);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window->Options(), nullptr);

  window->mnuAboutVeilbox->trigger();
  QtAbout* about = window->About();
  // The texts wrap within the box rather than widen it.
  EXPECT_EQ(std::tuple(QStringList({about->windowTitle(), about->lblTitle->text(),
                                    about->lblVersion->text()}),
                       about->lblDescription->wordWrap() && about->lblDisclaimer->wordWrap() &&
                           about->Label1->wordWrap()),
            std::tuple(QStringList({"About Veilbox", "Veilbox", "1.04"}), true));
  ExpectPlaced(*about);
  QTest::keyClick(about, Qt::Key_Escape);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window->About(), nullptr);
  EXPECT_TRUE(dialogue.boxes.empty());

  // System Info says none is on PATH, or starts the one there; Return on it presses OK.
  const std::filesystem::path bin = home.MakeFolder("bin");
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", bin.c_str());
  window->mnuAboutVeilbox->trigger();
  about = window->About();
  QTest::mouseClick(about->cmdSysInfo, Qt::LeftButton);
  WriteText(bin / "hardinfo", "#!/bin/sh\n: >\"$0.ran\"\n");
  std::filesystem::permissions(bin / "hardinfo", std::filesystem::perms::owner_all);
  QTest::mouseClick(about->cmdSysInfo, Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(bin / "hardinfo.ran"); }));
  about->cmdSysInfo->setFocus();
  QTest::keyClick(about->cmdSysInfo, Qt::Key_Return);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(std::pair(window->About() == nullptr, dialogue.boxes.size()),
            std::pair(true, size_t{1}));
  qputenv("PATH", path);
}

// A tag in a typed password, a folder name or an address is not markup; a pause runs timers.
TEST(QtDialogueBoxes, ShowTagLikeTextLiterallyAndPausesRunTimers) {
  const QString text = "<b>pa<s>ss</s>word</b>";
  const QLabel* label = nullptr;
  QTimer reader;  // reads the box while it is open, then answers it
  QObject::connect(&reader, &QTimer::timeout, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(widget);
      if (!box || !box->isVisible()) continue;
      label = box->findChild<QLabel*>("qt_msgbox_label");
      EXPECT_EQ(std::pair(label->textFormat(), label->text()), std::pair(Qt::PlainText, text));
      box->button(QMessageBox::No)->click();
    }
  });
  reader.start(10);
  QtDialogue boxes;
  EXPECT_EQ(boxes.Show({text.toStdString(), "Password", Icon::Question, Buttons::YesNo}),
            Answer::No);
  EXPECT_NE(label, nullptr);
  bool ran = false;
  QTimer::singleShot(0, [&] { ran = true; });
  boxes.PumpEvents();
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace veilbox::testing
