// The Windows desktop in-process, in a private temporary home: the real
// windows over the real logic and engine, every box answered by the scripted
// dialogue, driven by the messages a click, a tick, a menu command or a key
// would send.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>

#include "app/Constants.h"
#include "app/Password.h"
#include "app/Session.h"
#include "app/Settings.h"
#include "gui/MainWindowDialogue.h"
#include "gui/win32/DialogWindow.h"
#include "gui/win32/ListView.h"
#include "gui/win32/LoginWindow.h"
#include "gui/win32/MainWindow.h"
#include "gui/win32/MessageLoop.h"
#include "gui/win32/ResourceIds.h"
#include "platform/win32/WinPlatform.h"
#include "support/ScriptedDialogue.h"
#include "support/TempHome.h"

namespace veilbox::testing {

// The scripted dialogue, running a check each time the core lets events run
// in the middle of a pass.
class PumpingDialogue : public ScriptedDialogue {
 public:
  std::function<void()> during_pump;
  void PumpEvents() override {
    if (during_pump) during_pump();
  }
};

class WindowTest : public ::testing::Test {
 protected:
  WindowTest() : dialogue(boxes), session(platform, dialogue) {
    window = std::make_unique<win32::MainWindow>(session, dialogue, [this] { ended = true; });
  }

  std::string Setting(const std::string& name) {
    return GetString(session, SettingsRoot::CurrentUser, kMainKey, name);
  }

  // A program that has been started before: agreement accepted, password
  // stored.
  void KnownUser() {
    ScriptedDialogue quiet;
    Session earlier(platform, quiet);
    ASSERT_TRUE(SaveString(earlier, SettingsRoot::CurrentUser, kMainKey, "VeilboxFirstTime", "No"));
    ASSERT_TRUE(earlier.CreatePassword("secret"));
  }

  HWND Main() { return window->Handle(); }
  HWND Login() { return window->Login()->Handle(); }
  HWND Control(HWND dialog, int id) { return GetDlgItem(dialog, id); }
  HWND List() { return Control(Main(), IDC_LSTFOLDERS); }

  // Types the password and presses Enter in the field.
  void TypePassword(const std::string& typed) {
    HWND field = Control(Login(), IDC_TXTPASSWORD);
    win32::SetText(field, typed);
    Key(field, VK_RETURN);
  }
  void StartLoggedIn() {
    KnownUser();
    window->Logic().Form_Load();
    TypePassword("secret");
    ASSERT_TRUE(IsWindowVisible(Main()));
  }

  // What a user can do: a button or menu item that is greyed takes no click.
  static void Click(HWND button) {
    ASSERT_TRUE(IsWindowEnabled(button)) << win32::TextOf(button);
    SendMessageW(button, BM_CLICK, 0, 0);
    Pump();
  }
  bool MenuEnabled(int id) {
    return !(GetMenuState(GetMenu(Main()), id, MF_BYCOMMAND) & MF_GRAYED);
  }
  void Menu(int id) {
    ASSERT_TRUE(MenuEnabled(id)) << id;
    SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    Pump();
  }
  // The key as the message loop hands it to the dialog holding focus.
  static void Key(HWND focus, WPARAM key) {
    MSG msg = {focus, WM_KEYDOWN, key, 0, 0, {}};
    EXPECT_TRUE(win32::RouteDialogKeys(msg));
    Pump();
  }
  // A tick set or cleared in a row's check box.
  void Tick(int row, bool ticked) {
    ASSERT_TRUE(IsWindowEnabled(List()));
    ListView_SetCheckState(List(), row, ticked);
    Pump();
  }
  // Runs what windows posted to themselves (a closed window's release).
  static void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }

  TempHome home;
  PumpingDialogue boxes;
  MainWindowDialogue dialogue;
  WinPlatform platform;
  Session session;
  std::unique_ptr<win32::MainWindow> window;
  bool ended = false;
};

}  // namespace veilbox::testing
