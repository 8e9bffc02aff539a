// The main window after the password: the lock state and what it enables,
// ticks driving the status group, and the commands behind the buttons, the
// status box and the menus.
#include "GuiFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>

namespace veilbox::testing {
namespace {

using MainWindow = GuiTest;

// Every control and menu item whose enabled state the lock state decides.
struct Enabled {
  bool actions;       // the list, the Folders frame, Add, Remove and their menu items,
                      // Preferences and File > Lock folder
  bool unlock_menu;   // File > Unlock folder
  bool status_group;  // the Status frame, its controls and the Status menu's items
};

void ExpectEnabled(frmMain& w, Enabled e) {
  for (QWidget* c : {static_cast<QWidget*>(w.lstFolders), static_cast<QWidget*>(w.fraAction),
                     static_cast<QWidget*>(w.cmdAdd), static_cast<QWidget*>(w.cmdRemove)}) {
    EXPECT_EQ(c->isEnabled(), e.actions) << c->objectName().toStdString();
  }
  for (QAction* a : {w.mnuAdd, w.mnuRemove, w.mnuPreferences, w.mnuLockFolder}) {
    EXPECT_EQ(a->isEnabled(), e.actions) << a->text().toStdString();
  }
  EXPECT_EQ(w.mnuUnlockFolder->isEnabled(), e.unlock_menu);
  for (QWidget* c : {static_cast<QWidget*>(w.fraStatus), static_cast<QWidget*>(w.lblStatus),
                     static_cast<QWidget*>(w.cmbStatus), static_cast<QWidget*>(w.chkEncrypt)}) {
    EXPECT_EQ(c->isEnabled(), e.status_group) << c->objectName().toStdString();
  }
  for (QAction* a : {w.mnuHidden, w.mnuVisible, w.mnuEncryptfilenames}) {
    EXPECT_EQ(a->isEnabled(), e.status_group) << a->text().toStdString();
  }
  // Always available.
  EXPECT_TRUE(w.cmdUnlockFolder->isEnabled());
  EXPECT_TRUE(w.mnuExit->isEnabled());
  EXPECT_TRUE(w.mnuAboutVeilbox->isEnabled());
}

fs::perms Mode(const fs::path& folder) {
  return fs::status(folder).permissions();
}

TEST_F(MainWindow, OpensLockedWithOnlyUnlockExitAndAboutWorking) {
  StartLoggedIn();
  EXPECT_EQ(window->cmdUnlockFolder->text(), "Unlock folder");
  ExpectEnabled(*window, {.actions = false, .unlock_menu = true, .status_group = false});
  EXPECT_FALSE(window->chkEncrypt->isChecked());
  EXPECT_FALSE(window->mnuEncryptfilenames->isChecked());
}

TEST_F(MainWindow, UnlockEnablesTheFoldersAndLockKeepsTheTicks) {
  const fs::path store = home.MakeFolder("program/Data");
  WriteText(home.ProgramFolder() / "Dat.sys", "A</x/<Visible<Normal<A*B</x/<Visible<Normal<B*\r\n");
  StartLoggedIn();
  fs::permissions(store, fs::perms::none);

  Click(window->cmdUnlockFolder);
  EXPECT_EQ(window->cmdUnlockFolder->text(), "Lock folder");
  ExpectEnabled(*window, {.actions = true, .unlock_menu = false, .status_group = false});
  EXPECT_EQ(Mode(store), fs::perms::owner_all);

  ClickTick(1);
  ASSERT_TRUE(Ticked(1));
  window->mnuLockFolder->trigger();
  EXPECT_EQ(window->cmdUnlockFolder->text(), "Unlock folder");
  ExpectEnabled(*window, {.actions = false, .unlock_menu = true, .status_group = false});
  EXPECT_EQ(Mode(store), fs::perms::none);
  EXPECT_TRUE(Ticked(1)) << "locking keeps the ticks";

  // Unlocking again clears them, and the status group waits for a new tick.
  window->mnuUnlockFolder->trigger();
  EXPECT_FALSE(Ticked(1));
  ExpectEnabled(*window, {.actions = true, .unlock_menu = false, .status_group = false});
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MainWindow, TicksSwitchTheStatusGroupOnAndOff) {
  WriteText(home.ProgramFolder() / "Dat.sys", "A</x/<Visible<Normal<A*B</x/<Visible<Normal<B*\r\n");
  StartUnlocked();

  ClickTick(0);
  EXPECT_TRUE(Ticked(0));
  ExpectEnabled(*window, {.actions = true, .unlock_menu = false, .status_group = true});
  ClickTick(1);
  ClickTick(0);
  ExpectEnabled(*window, {.actions = true, .unlock_menu = false, .status_group = true});
  ClickTick(1);
  EXPECT_FALSE(Ticked(1));
  ExpectEnabled(*window, {.actions = true, .unlock_menu = false, .status_group = false});
}

TEST_F(MainWindow, EncryptFilenamesInTheMenuTogglesBothCheckMarks) {
  WriteText(home.ProgramFolder() / "Dat.sys", "A</x/<Visible<Normal<A*\r\n");
  StartUnlocked();
  ClickTick(0);

  window->mnuEncryptfilenames->trigger();
  EXPECT_TRUE(window->chkEncrypt->isChecked());
  EXPECT_TRUE(window->mnuEncryptfilenames->isChecked());
  window->mnuEncryptfilenames->trigger();
  EXPECT_FALSE(window->chkEncrypt->isChecked());
  EXPECT_FALSE(window->mnuEncryptfilenames->isChecked());

  // Ticking the box itself sets the menu's mark too.
  QTest::mouseClick(window->chkEncrypt, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_TRUE(window->chkEncrypt->isChecked());
  EXPECT_TRUE(window->mnuEncryptfilenames->isChecked());
}

TEST_F(MainWindow, HidingThroughTheStatusBoxEncryptsAndAdvancesTheProgressBar) {
  const fs::path plans = home.MakeFolder("user/Plans");
  WriteText(plans / "a.txt", "a");
  WriteText(plans / "b.txt", "b");
  WriteText(plans / "sub" / "c.txt", "c");
  const fs::path notes = home.MakeFolder("user/Notes");
  StartUnlocked();
  AddThroughButton(plans);
  AddThroughButton(notes);
  ASSERT_EQ(RowCount(), 2);

  ClickTick(0);
  QTest::mouseClick(window->chkEncrypt, Qt::LeftButton, {}, QPoint(5, 5));
  // Down in the closed box picks its first item, "Hidden", as a user's choice.
  QTest::keyClick(window->cmbStatus, Qt::Key_Down);

  EXPECT_EQ(window->cmbStatus->currentText(), "Hidden");
  ASSERT_EQ(RowCount(), 2);
  EXPECT_EQ(Cell(0, 2), "Hidden");
  EXPECT_EQ(Cell(0, 3), "Encrypted");
  EXPECT_EQ(Cell(1, 2), "Visible") << "an unticked row stays";
  EXPECT_FALSE(Ticked(0)) << "the reload clears the ticks";
  EXPECT_TRUE(window->cmbStatus->isEnabled()) << "the status group waits for the next click";
  EXPECT_EQ(window->pbBar->maximum(), 3);
  EXPECT_EQ(window->pbBar->value(), 3);

  const fs::path stored = home.ProgramFolder() / "Data" / "Plans";
  EXPECT_FALSE(fs::exists(plans));
  ASSERT_TRUE(fs::is_directory(stored / "sub"));
  EXPECT_FALSE(fs::exists(stored / "a.txt")) << "file names are enciphered";
  EXPECT_FALSE(fs::exists(stored / "sub" / "c.txt"));
  EXPECT_TRUE(fs::exists(notes));

  // Status > Visible brings it back with its names.
  ClickTick(0);
  window->mnuVisible->trigger();
  EXPECT_EQ(window->cmbStatus->currentText(), "Visible");
  EXPECT_EQ(Cell(0, 2), "Visible");
  EXPECT_EQ(Cell(0, 3), "Normal");
  EXPECT_EQ(ReadText(plans / "sub" / "c.txt"), "c");
}

TEST_F(MainWindow, AddAndRemoveThroughTheButtons) {
  const fs::path plans = home.MakeFolder("user/Plans");
  const fs::path notes = home.MakeFolder("user/Notes");
  StartUnlocked();

  AddThroughButton(plans);
  AddThroughButton(notes);
  ASSERT_EQ(RowCount(), 2);
  EXPECT_EQ(Cell(1, 0), "Notes");
  EXPECT_EQ(Cell(1, 1), (home.Root() / "user").string() + "/");
  EXPECT_EQ(boxes.chooser_titles,
            (std::vector<std::string>{"Select Folder...", "Select Folder..."}));

  // A cancelled chooser changes nothing.
  Click(window->cmdAdd);
  EXPECT_EQ(RowCount(), 2);

  ClickTick(0);
  Click(window->cmdRemove);
  ASSERT_EQ(RowCount(), 1);
  EXPECT_EQ(Cell(0, 0), "Notes");
  EXPECT_TRUE(fs::exists(plans)) << "removing a visible folder moves nothing";
  EXPECT_EQ(ReadText(home.ProgramFolder() / "Dat.sys"),
            "Notes<" + (home.Root() / "user").string() + "/<Visible<Normal<Notes*\r\n");

  // The Folders menu runs the same commands.
  boxes.Folders({plans.string()});
  window->mnuAdd->trigger();
  EXPECT_EQ(RowCount(), 2);
  ClickTick(0);
  ClickTick(1);
  window->mnuRemove->trigger();
  EXPECT_EQ(RowCount(), 0);
  EXPECT_TRUE(boxes.boxes.empty());
}

}  // namespace
}  // namespace veilbox::testing
