// The Windows view of frmLogin: "&Password:", the password field shown as
// "*" and holding the focus when the window opens, OK (the default button,
// Enter) and Cancel (Escape and the close box).
#pragma once

#include <memory>

#include "gui/frmLogin.h"
#include "gui/frmLoginView.h"
#include "gui/win32/DialogWindow.h"

namespace veilbox::win32 {

class MainWindow;

class LoginWindow : public DialogWindow, public frmLoginView {
 public:
  // Creates, loads and shows the window.
  explicit LoginWindow(MainWindow& main);
  ~LoginWindow() override;

  // frmLoginView
  void SetCaption(const std::string& caption) override;
  std::string Password() const override;
  void ClearPassword() override;
  void Hide() override;

 protected:
  void OnCommand(int id, int code) override;
  void OnClose() override;
  HCURSOR Cursor() const override;

 private:
  MainWindow& main_;
  std::unique_ptr<frmLogin> logic_;
};

}  // namespace veilbox::win32
