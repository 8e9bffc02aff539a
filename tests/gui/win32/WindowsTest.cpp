// The Win32 windows over the real logic, driven by the messages a click or key would send.
#include <windows.h>

#include <commctrl.h>

#include "gui/MainWindowDialogue.h"
#include "gui/win32/AboutWindow.h"
#include "gui/win32/DialogWindow.h"
#include "gui/win32/ListView.h"
#include "gui/win32/LoginWindow.h"
#include "gui/win32/MainWindow.h"
#include "gui/win32/MessageLoop.h"
#include "gui/win32/OptionsWindow.h"
#include "gui/win32/ResourceIds.h"
#include "support/HomeTest.h"

namespace veilbox::testing {
namespace {

using win32::TextOf;

class WindowTest : public HomeTest {
 protected:
  WindowTest()
      : HomeTest(
            [](Dialogue& scripted) { return std::make_unique<MainWindowDialogue>(scripted); }) {
    platform.second_drive.clear();  // the machine's own drives
    NewWindow();
  }
  void NewWindow() {
    window.reset();  // the old window's logic lets go of the dialogue first
    window = std::make_unique<win32::MainWindow>(
        session, static_cast<MainWindowDialogue&>(session.dialogue), [this] { ended = true; });
  }
  HWND Main() { return window->Handle(); }
  HWND Login() { return window->Login()->Handle(); }
  HWND Item(int id, HWND dialog = nullptr) { return GetDlgItem(dialog ? dialog : Main(), id); }
  HWND List() { return Item(IDC_LSTFOLDERS); }
  bool On(int id) {  // whether a control or menu item of the main window takes a click
    return id < IDM_LOCKFOLDER ? IsWindowEnabled(Item(id)) : !(MenuState(id) & MF_GRAYED);
  }
  UINT MenuState(int id) { return GetMenuState(GetMenu(Main()), id, MF_BYCOMMAND); }

  void TypePassword(const std::string& typed) {
    win32::SetText(Item(IDC_TXTPASSWORD, Login()), typed);
    Key(Item(IDC_TXTPASSWORD, Login()), VK_RETURN);
  }
  void StartLoggedIn(bool unlock = true) {
    KnownUser();
    window->Logic().Form_Load();
    TypePassword("secret");
    if (unlock) Click(Item(IDC_CMDUNLOCKFOLDER));
  }
  static void Click(HWND button) {
    ASSERT_TRUE(IsWindowEnabled(button)) << TextOf(button);
    SendMessageW(button, BM_CLICK, 0, 0);
    Pump();
  }
  void Menu(int id) {
    ASSERT_TRUE(On(id)) << id;
    SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    Pump();
  }
  static void Key(HWND focus, WPARAM key) {  // as the message loop hands it on
    MSG msg = {focus, WM_KEYDOWN, key, 0, 0, {}};
    EXPECT_TRUE(win32::RouteDialogKeys(msg));
    Pump();
  }
  void Tick(bool ticked) {
    ListView_SetCheckState(List(), 0, ticked);
    Pump();
  }
  static void Pump() {  // what windows posted to themselves (a closed window's release)
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }

  std::unique_ptr<win32::MainWindow> window;
  bool ended = false;
};

// The password goes in hidden, a wrong one is cleared; Cancel, Escape and the close box end.
TEST_F(WindowTest, TheLoginTakesThePasswordOrEndsTheProgram) {
  KnownUser();
  window->Logic().Form_Load();
  HWND field = Item(IDC_TXTPASSWORD, Login());
  EXPECT_EQ(std::pair(!!IsWindowVisible(Login()), SendMessageW(field, EM_GETPASSWORDCHAR, 0, 0)),
            std::pair(true, LRESULT{L'*'}));
  TypePassword("Secret");
  EXPECT_EQ(std::tuple(dialogue.boxes.size(), TextOf(field), IsWindowVisible(Main())),
            std::tuple(1u, "", FALSE));
  TypePassword("secret");
  EXPECT_EQ(std::tuple(!!IsWindowVisible(Main()), !!IsWindowVisible(Login()), ended),
            std::tuple(true, false, false));

  for (const auto& [way, act] : std::vector<std::pair<const char*, void (*)(HWND)>>{
           {"Cancel", [](HWND login) { Click(GetDlgItem(login, IDCANCEL)); }},
           {"Escape", [](HWND login) { Key(GetDlgItem(login, IDC_TXTPASSWORD), VK_ESCAPE); }},
           {"close box", [](HWND login) { SendMessageW(login, WM_CLOSE, 0, 0); }}}) {
    NewWindow();
    window->Logic().Form_Load();
    act(Login());
    EXPECT_EQ(std::tuple(ended, IsWindowVisible(Main())), std::tuple(true, FALSE)) << way;
    ended = false;
  }
  EXPECT_EQ(dialogue.boxes.size(), 1u) << "no box when the login is left";
}

TEST_F(WindowTest, TheLockTheTicksAndTheStatusBoxDriveTheMainWindow) {
  const auto expect = [&](const char* what, bool actions, bool status) {
    for (int id : {IDC_LSTFOLDERS, IDC_FRAACTION, IDC_CMDADD, IDC_CMDREMOVE, IDM_ADD, IDM_REMOVE,
                   IDM_PREFERENCES, IDM_LOCKFOLDER})
      EXPECT_EQ(On(id), actions) << what << " " << id;
    for (int id : {IDC_FRASTATUS, IDC_LBLSTATUS, IDC_CMBSTATUS, IDC_CHKENCRYPT, IDM_HIDDEN,
                   IDM_VISIBLE, IDM_ENCRYPTFILENAMES})
      EXPECT_EQ(On(id), status) << what << " " << id;
    EXPECT_EQ(On(IDM_UNLOCKFOLDER), !actions) << what;
    EXPECT_EQ(TextOf(Item(IDC_CMDUNLOCKFOLDER)), actions ? "Lock folder" : "Unlock folder");
  };
  StartLoggedIn(false);
  expect("locked", false, false);
  Click(Item(IDC_CMDUNLOCKFOLDER));
  expect("unlocked", true, false);
  WriteText(home.Root() / "Plans" / "budget.txt", "figures");
  dialogue.Folders({(home.Root() / "Plans").string()});
  Click(Item(IDC_CMDADD));
  Tick(true);
  expect("ticked", true, true);
  Menu(IDM_LOCKFOLDER);
  Menu(IDM_UNLOCKFOLDER);  // on only once the lock took
  expect("locked and unlocked by the menu", true, false);

  // Status hides the ticked row, Remove takes it off; the close box stays on Cancel, Exit ends.
  Tick(true);
  Menu(IDM_ENCRYPTFILENAMES);  // the pass below encrypts the names
  EXPECT_EQ(std::pair(SendMessageW(Item(IDC_CHKENCRYPT), BM_GETCHECK, 0, 0) == BST_CHECKED,
                      (MenuState(IDM_ENCRYPTFILENAMES) & MF_CHECKED) != 0),
            std::pair(true, true));
  // A choice in the drop-down as the combo box reports it; the pass shows as it runs.
  std::pair<std::string, LRESULT> shown;
  dialogue.on_show = [&] {
    shown = {TextOf(Item(IDC_STATUS)), SendMessageW(Item(IDC_PBBAR), PBM_GETPOS, 0, 0)};
  };
  SendMessageW(Item(IDC_CMBSTATUS), CB_SETCURSEL, 0, 0);
  SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(IDC_CMBSTATUS, CBN_SELENDOK),
               reinterpret_cast<LPARAM>(Item(IDC_CMBSTATUS)));
  Pump();
  EXPECT_EQ(win32::CellText(List(), 0, 2) + win32::CellText(List(), 0, 3), "HiddenEncrypted");
  EXPECT_EQ(shown, std::pair(std::string("Hiding Plans: 1 of 1 file"), LRESULT{1}));
  Tick(true);
  Click(Item(IDC_CMDREMOVE));
  EXPECT_EQ(win32::RowCount(List()), 0);

  dialogue.questions.clear();
  dialogue.Answers({Answer::Cancel, Answer::Cancel});
  SendMessageW(Main(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(ended);
  Menu(IDM_EXIT);
  EXPECT_EQ(std::tuple(ended, dialogue.questions.size()), std::tuple(true, 2u));
}

// Options' Edit and Remove wait for a row, Enter presses nothing; About closes by OK or a key.
TEST_F(WindowTest, PreferencesAndAboutCloseByTheirKeys) {
  StartLoggedIn();
  Menu(IDM_PREFERENCES);
  ASSERT_NE(window->Options(), nullptr);
  HWND options = window->Options()->Handle(), list = Item(IDC_LSTFOLDERSPATH, options);
  EXPECT_TRUE(IsWindowVisible(options));
  ASSERT_EQ(win32::RowCount(list), 1);
  EXPECT_EQ(win32::CellText(list, 0, 1) + "*", session.stores.Text());
  EXPECT_FALSE(IsWindowEnabled(Item(IDC_OPTEDIT, options)));
  ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);  // a click on the row
  EXPECT_TRUE(IsWindowEnabled(Item(IDC_OPTEDIT, options)) &&
              IsWindowEnabled(Item(IDC_OPTREMOVE, options)));
  Key(list, VK_RETURN);
  EXPECT_NE(window->Options(), nullptr);
  Key(list, VK_ESCAPE);
  EXPECT_EQ(window->Options(), nullptr);

  const std::pair<const char*, WPARAM> ways[] = {
      {"OK", 0}, {"Enter", VK_RETURN}, {"Escape", VK_ESCAPE}};
  for (const auto& [way, key] : ways) {
    Menu(IDM_ABOUTVEILBOX);
    HWND ok = GetDlgItem(window->About()->Handle(), IDOK);
    key ? Key(ok, key) : Click(ok);
    EXPECT_EQ(window->About(), nullptr) << way;
  }
}

}  // namespace
}  // namespace veilbox::testing
