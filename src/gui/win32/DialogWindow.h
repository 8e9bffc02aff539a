// The base of the program's windows: a modeless dialog made from a template
// in the resources, whose messages go to the virtual handlers below. Dialogs
// give the keyboard its Windows meaning through IsDialogMessage in the
// message loop: Tab between controls, Enter presses the default button,
// Escape sends IDCANCEL, Alt with an access key presses its control.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace veilbox::win32 {

class DialogWindow {
 public:
  virtual ~DialogWindow();
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  HWND Handle() const { return hwnd_; }
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

 protected:
  DialogWindow() = default;
  // Creates the window from the template, hidden; owner may be null. A
  // window with an owner stands in the middle of it, within the screen.
  void Create(int template_id, HWND owner);

  // WM_COMMAND from a control (code is its notification) or a menu (code 0).
  virtual void OnCommand(int id, int code) = 0;
  // WM_NOTIFY from a common control.
  virtual void OnNotify(const NMHDR&) {}
  // The close box, Alt+F4 or the system menu's Close.
  virtual void OnClose() = 0;
  // Any other message; true when handled.
  virtual bool OnMessage(UINT, WPARAM, LPARAM) { return false; }
  // The cursor to show over the window, or null for the controls' own.
  virtual HCURSOR Cursor() const { return nullptr; }

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

  HWND hwnd_ = nullptr;
};

// A window's text as UTF-8, and setting it.
std::string TextOf(HWND hwnd);
void SetText(HWND hwnd, const std::string& text);

// The program's icon at the given system metric size (SM_CXICON or
// SM_CXSMICON), loaded from the resources.
HICON ProgramIcon(int metric);

}  // namespace veilbox::win32
