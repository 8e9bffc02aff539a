// The Windows main window: what the lock state enables, ticks, the status
// box and its menu, Add and Remove, and the close box.
#include "WindowFixture.h"

namespace veilbox::testing {
namespace {

class MainWindowTest : public WindowTest {
 protected:
  bool Enabled(int id, bool menu) {
    return menu ? MenuEnabled(id) : IsWindowEnabled(Control(Main(), id));
  }
  void AddFolder(const std::string& name) {
    const std::filesystem::path folder = home.MakeFolder(name);
    WriteText(folder / "budget.txt", "figures");
    boxes.Folders({folder.string()});
    Click(Control(Main(), IDC_CMDADD));
  }
};

struct Item {
  int id;
  bool menu;
  bool unlocked;  // enabled once unlocked (all but Unlock are off when locked)
};

constexpr Item kLockItems[] = {
    {IDC_LSTFOLDERS, false, true},
    {IDC_FRAACTION, false, true},
    {IDC_CMDADD, false, true},
    {IDC_CMDREMOVE, false, true},
    {IDM_ADD, true, true},
    {IDM_REMOVE, true, true},
    {IDM_PREFERENCES, true, true},
    {IDM_LOCKFOLDER, true, true},
    {IDM_UNLOCKFOLDER, true, false},
    {IDC_FRASTATUS, false, false},
    {IDC_CMBSTATUS, false, false},
    {IDC_CHKENCRYPT, false, false},
    {IDM_HIDDEN, true, false},
    {IDM_VISIBLE, true, false},
    {IDM_ENCRYPTFILENAMES, true, false},
};

TEST_F(MainWindowTest, UnlockAndLockSwitchTheControlsAndMenus) {
  StartLoggedIn();
  const auto expect_state = [&](bool unlocked) {
    EXPECT_EQ(win32::TextOf(Control(Main(), IDC_CMDUNLOCKFOLDER)),
              unlocked ? "Lock folder" : "Unlock folder");
    for (const Item& item : kLockItems) {
      EXPECT_EQ(Enabled(item.id, item.menu), unlocked ? item.unlocked : item.id == IDM_UNLOCKFOLDER)
          << item.id << (unlocked ? " unlocked" : " locked");
    }
    EXPECT_TRUE(MenuEnabled(IDM_EXIT));
    EXPECT_TRUE(MenuEnabled(IDM_ABOUTVEILBOX));
  };
  expect_state(false);
  Click(Control(Main(), IDC_CMDUNLOCKFOLDER));
  expect_state(true);
  Menu(IDM_LOCKFOLDER);
  expect_state(false);
  Menu(IDM_UNLOCKFOLDER);
  expect_state(true);
}

TEST_F(MainWindowTest, TicksDriveTheStatusGroupAndTheStatusBoxHidesTheTickedRow) {
  StartLoggedIn();
  Click(Control(Main(), IDC_CMDUNLOCKFOLDER));
  AddFolder("Plans");
  ASSERT_EQ(win32::RowCount(List()), 1);
  EXPECT_EQ(win32::CellText(List(), 0, 0), "Plans");
  EXPECT_FALSE(Enabled(IDC_CMBSTATUS, false));

  Tick(0, true);
  EXPECT_TRUE(Enabled(IDC_CMBSTATUS, false));
  EXPECT_TRUE(Enabled(IDM_HIDDEN, true));
  Tick(0, false);
  EXPECT_FALSE(Enabled(IDC_CHKENCRYPT, false));
  EXPECT_FALSE(Enabled(IDM_ENCRYPTFILENAMES, true));

  // Status > Encrypt filenames and the box keep one check mark.
  Tick(0, true);
  const auto checks = [&] {
    return std::pair(
        SendMessageW(Control(Main(), IDC_CHKENCRYPT), BM_GETCHECK, 0, 0) == BST_CHECKED,
        (GetMenuState(GetMenu(Main()), IDM_ENCRYPTFILENAMES, MF_BYCOMMAND) & MF_CHECKED) != 0);
  };
  Menu(IDM_ENCRYPTFILENAMES);
  EXPECT_EQ(checks(), std::pair(true, true));
  Click(Control(Main(), IDC_CHKENCRYPT));
  EXPECT_EQ(checks(), std::pair(false, false));
  Menu(IDM_ENCRYPTFILENAMES);  // the pass below encrypts the names

  // A choice in the drop-down, as the combo box reports it. The status
  // line names the pass while it runs.
  std::vector<std::string> lines;
  boxes.during_pump = [&] { lines.push_back(win32::TextOf(Control(Main(), IDC_STATUS))); };
  HWND combo = Control(Main(), IDC_CMBSTATUS);
  SendMessageW(combo, CB_SETCURSEL, 0, 0);
  SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(IDC_CMBSTATUS, CBN_SELENDOK),
               reinterpret_cast<LPARAM>(combo));
  Pump();
  EXPECT_EQ(win32::CellText(List(), 0, 2), "Hidden");
  EXPECT_EQ(win32::CellText(List(), 0, 3), "Encrypted");
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front().rfind("Hiding Plans", 0), 0u) << lines.front();
  EXPECT_EQ(win32::TextOf(Control(Main(), IDC_STATUS)), "");

  Tick(0, true);
  Click(Control(Main(), IDC_CMDREMOVE));
  EXPECT_EQ(win32::RowCount(List()), 0);
}

TEST_F(MainWindowTest, TheCloseBoxAsksWhenUnlockedAndCancelKeepsTheWindow) {
  StartLoggedIn();
  Click(Control(Main(), IDC_CMDUNLOCKFOLDER));
  boxes.Answers({Answer::Cancel, Answer::No});
  SendMessageW(Main(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(ended);
  EXPECT_TRUE(IsWindowVisible(Main()));
  SendMessageW(Main(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(ended);
  ASSERT_EQ(boxes.boxes.size(), 2u);
  EXPECT_EQ(boxes.boxes[1].text, "Do you wish to lock the folder?");
  EXPECT_EQ(boxes.boxes[1].title, "Lock");
}

TEST_F(MainWindowTest, FileExitEndsEvenWhenTheLockQuestionIsCancelled) {
  StartLoggedIn();
  Click(Control(Main(), IDC_CMDUNLOCKFOLDER));
  boxes.Answers({Answer::Cancel});
  Menu(IDM_EXIT);
  EXPECT_TRUE(ended);
  EXPECT_EQ(boxes.boxes.size(), 1u);
}

}  // namespace
}  // namespace veilbox::testing
