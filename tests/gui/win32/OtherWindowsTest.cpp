// The preferences window and the about box of the Windows desktop: opened
// from the menus, loaded by their logic, closed by their buttons and keys.
#include "WindowFixture.h"
#include "gui/win32/AboutWindow.h"
#include "gui/win32/OptionsWindow.h"

namespace veilbox::testing {
namespace {

using OtherWindowsTest = WindowTest;

TEST_F(OtherWindowsTest, PreferencesShowTheStoreFoldersAndEditNeedsASelectedRow) {
  StartLoggedIn();
  Click(Control(Main(), IDC_CMDUNLOCKFOLDER));
  Menu(IDM_PREFERENCES);
  ASSERT_NE(window->Options(), nullptr);
  HWND options = window->Options()->Handle();
  EXPECT_EQ(win32::TextOf(options), "Options");
  EXPECT_TRUE(IsWindowVisible(options));
  HWND list = Control(options, IDC_LSTFOLDERSPATH);
  ASSERT_EQ(win32::RowCount(list), 1);
  EXPECT_EQ(win32::CellText(list, 0, 1) + "*", session.stores.Text());
  EXPECT_EQ(win32::CellText(list, 0, 0), win32::CellText(list, 0, 1).substr(0, 3));
  EXPECT_FALSE(IsWindowEnabled(Control(options, IDC_OPTEDIT)));

  ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);  // a click on the row
  EXPECT_TRUE(IsWindowEnabled(Control(options, IDC_OPTEDIT)));
  EXPECT_TRUE(IsWindowEnabled(Control(options, IDC_OPTREMOVE)));

  // Enter presses no button here; Escape cancels and the window goes.
  Key(list, VK_RETURN);
  EXPECT_NE(window->Options(), nullptr);
  Key(list, VK_ESCAPE);
  EXPECT_EQ(window->Options(), nullptr);
}

TEST_F(OtherWindowsTest, AboutShowsNameAndVersionAndClosesByEnterEscapeAndOK) {
  StartLoggedIn();
  const struct {
    const char* way;
    void (*act)(HWND about);
  } ways[] = {
      {"OK", [](HWND about) { Click(GetDlgItem(about, IDOK)); }},
      {"Enter", [](HWND about) { Key(GetDlgItem(about, IDOK), VK_RETURN); }},
      {"Escape", [](HWND about) { Key(GetDlgItem(about, IDOK), VK_ESCAPE); }},
  };
  for (const auto& way : ways) {
    Menu(IDM_ABOUTVEILBOX);
    ASSERT_NE(window->About(), nullptr) << way.way;
    HWND about = window->About()->Handle();
    EXPECT_EQ(win32::TextOf(about), "About Veilbox");
    EXPECT_EQ(win32::TextOf(Control(about, IDC_LBLTITLE)), "Veilbox");
    EXPECT_EQ(win32::TextOf(Control(about, IDC_LBLVERSION)), "1.04");
    way.act(about);
    EXPECT_EQ(window->About(), nullptr) << way.way;
  }
}

// Both open in the middle of the main window; no list ends in an empty strip.
TEST_F(OtherWindowsTest, PreferencesAndAboutOpenCentredAndListsFillTheirWidth) {
  StartLoggedIn();
  Click(Control(Main(), IDC_CMDUNLOCKFOLDER));
  SetWindowPos(Main(), nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  Menu(IDM_PREFERENCES);
  Menu(IDM_ABOUTVEILBOX);
  RECT main, r;
  GetWindowRect(Main(), &main);
  for (HWND dialog : {window->Options()->Handle(), window->About()->Handle()}) {
    GetWindowRect(dialog, &r);
    EXPECT_NEAR(r.left + r.right, main.left + main.right, 2) << win32::TextOf(dialog);
    EXPECT_NEAR(r.top + r.bottom, main.top + main.bottom, 2) << win32::TextOf(dialog);
  }
  for (HWND list : {List(), Control(window->Options()->Handle(), IDC_LSTFOLDERSPATH)}) {
    int widths = 0;
    for (int i = 0; i < Header_GetItemCount(ListView_GetHeader(list)); ++i) {
      widths += ListView_GetColumnWidth(list, i);
    }
    GetClientRect(list, &r);
    EXPECT_EQ(widths, r.right);
  }
}

}  // namespace
}  // namespace veilbox::testing
