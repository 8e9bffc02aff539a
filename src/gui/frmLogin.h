// frmLogin: the start-up password window's logic, in create or enter mode
// (the session's flags). It is not modal; the main window stays hidden while
// it is open.
#pragma once

#include "gui/frmLoginView.h"

namespace veilbox {

class frmMain;

class frmLogin {
 public:
  frmLogin(frmLoginView& view, frmMain& main);
  ~frmLogin();
  frmLogin(const frmLogin&) = delete;
  frmLogin& operator=(const frmLogin&) = delete;

  // Sets the caption; the view calls it once its controls exist.
  void Form_Load();
  // The handlers the view calls; Escape and the close box call cmdCancel_Click.
  void cmdOK_Click();
  void cmdCancel_Click();

 private:
  void Accept();

  frmLoginView& view_;
  frmMain& main_;
};

}  // namespace veilbox
