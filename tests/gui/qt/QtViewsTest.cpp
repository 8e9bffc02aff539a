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

// Each SetEnabled greys one control of its own; all shows.
TEST_F(QtTest, EverythingTheLogicSetsShowsInTheWindow) {
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

  window->SetLockButtonCaption("Lock folder");
  window->SetStatusChoice(kHidden);
  window->SetProgress(5, 8);
  window->SetStatusLine("Hiding Plans: 5 of 8 files");
  EXPECT_EQ(QStringList({window->cmdUnlockFolder->text(), window->cmbStatus->currentText(),
                         window->statusBar()->currentMessage(),
                         window->lstFolders->headerItem()->text(3)}),
            QStringList({"Lock folder", kHidden, "Hiding Plans: 5 of 8 files", "Encrypted"}));
  EXPECT_EQ(std::pair(window->pbBar->value(), window->pbBar->maximum()), std::pair(5, 8));
  shown.insert(shown.end(),
               {window->lstFolders, window->cmdUnlockFolder, window->cmbStatus, window->chkEncrypt,
                window->mnuEncryptfilenames, window->pbBar, window->statusBar()});
  for (QObject* object : shown)
    EXPECT_TRUE(ShownIn(*window, object)) << object->objectName().toStdString();
}

// The password is typed hidden, where the focus starts; Return on Cancel presses OK; Escape ends.
TEST_F(QtTest, LoginHidesThePasswordAndEscapeEndsTheProgram) {
  SetSetting("VeilboxFirstTime", "No");
  window->Logic().Form_Load();
  QtLogin* login = window->Login();
  EXPECT_EQ(login->txtPassword->echoMode(), QLineEdit::Password);
  EXPECT_EQ(login->focusWidget(), login->txtPassword);
  login->cmdCancel->setFocus();
  QTest::keyClick(login->cmdCancel, Qt::Key_Return);  // presses OK: the empty password is refused
  QTest::keyClick(login->txtPassword, Qt::Key_Escape);
  EXPECT_EQ(std::tuple(window->Logic().ProgramEnded(), login->isVisible(), dialogue.boxes.size()),
            std::tuple(true, false, 2u));
}

TEST_F(QtTest, ControlsReachTheirHandlers) {
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
  // The box and Status > Encrypt filenames keep one check mark.
  QTest::mouseClick(window->chkEncrypt, Qt::LeftButton, {}, QPoint(5, 5));
  for (bool on : {true, false}) {  // ends ticked
    EXPECT_EQ(std::pair(window->chkEncrypt->isChecked(), window->mnuEncryptfilenames->isChecked()),
              std::pair(on, on));
    window->mnuEncryptfilenames->trigger();
  }
  QTest::keyClick(window->cmbStatus, Qt::Key_Down);  // picks "Hidden", as a user's choice
  row = window->lstFolders->topLevelItem(0);
  EXPECT_EQ(std::tuple(row->text(2), row->text(3), row->checkState(0)),
            std::tuple(QString(kHidden), QString("Encrypted"), Qt::Unchecked));
  // The close box and File > Exit ask; then the window closes unasked.
  dialogue.Answers({Answer::Cancel, Answer::Cancel});
  EXPECT_FALSE(window->close());
  window->mnuExit->trigger();
  EXPECT_TRUE(window->close());
  EXPECT_EQ(std::tuple(window->Logic().ProgramEnded(), dialogue.boxes.size()),
            std::tuple(true, 2u));
}

// A clicked row enables Edit, Escape closes; System Info says none is on PATH, or starts it.
TEST_F(QtTest, PreferencesAndAboutReachTheirHandlers) {
  const std::string store = "/media/someone/A-very-long-volume-label-for-a-drive/Store";
  SetSetting("VeilboxHideFolderPath", store + "*");
  StartLoggedIn();
  QTest::mouseClick(window->cmdUnlockFolder, Qt::LeftButton);
  window->mnuPreferences->trigger();
  QtOptions* options = window->Options();
  QTreeWidgetItem* row = options->lstFoldersPath->topLevelItem(0);
  EXPECT_EQ(std::pair(row->text(1), options->cmdEdit->isEnabled()),
            std::pair(QString::fromStdString(store), false));
  const QRect r = options->lstFoldersPath->visualItemRect(row);
  QTest::mouseClick(options->lstFoldersPath->viewport(), Qt::LeftButton, {}, r.center());
  EXPECT_TRUE(options->cmdEdit->isEnabled());
  QTest::keyClick(options, Qt::Key_Escape);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window->Options(), nullptr);

  const std::filesystem::path bin = home.MakeFolder("bin");
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", bin.c_str());
  window->mnuAboutVeilbox->trigger();
  QtAbout* about = window->About();
  QTest::mouseClick(about->cmdSysInfo, Qt::LeftButton);
  WriteText(bin / "hardinfo", "#!/bin/sh\n: >\"$0.ran\"\n");
  std::filesystem::permissions(bin / "hardinfo", std::filesystem::perms::owner_all);
  QTest::mouseClick(about->cmdSysInfo, Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(bin / "hardinfo.ran"); }));
  about->cmdSysInfo->setFocus();
  QTest::keyClick(about->cmdSysInfo, Qt::Key_Return);  // presses OK, not System Info
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(std::pair(window->About() == nullptr, dialogue.boxes.size()),
            std::pair(true, size_t{1}));
  qputenv("PATH", path);
}

// A tag in a typed password, a folder name or an address is not markup.
TEST(QtDialogueBoxes, ShowTagLikeTextLiterally) {
  const QString text = "<b>pa<s>ss</s>word</b>";
  const QLabel* label = nullptr;
  QTimer reader;  // reads the box while it is open, then answers it
  QObject::connect(&reader, &QTimer::timeout, [&] {
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
        label = box->findChild<QLabel*>("qt_msgbox_label");
        EXPECT_EQ(std::pair(label->textFormat(), label->text()), std::pair(Qt::PlainText, text));
        box->button(QMessageBox::No)->click();
      }
  });
  reader.start(10);
  EXPECT_EQ(QtDialogue().Show({text.toStdString(), "Password", Icon::Question, Buttons::YesNo}),
            Answer::No);
  EXPECT_NE(label, nullptr);
}

}  // namespace
}  // namespace veilbox::testing
