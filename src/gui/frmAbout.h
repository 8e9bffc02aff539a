// frmAbout: the about box's logic: the product's name and version, and the
// System Info button. Not modal.
#pragma once

#include "gui/frmAboutView.h"

namespace veilbox {

class frmMain;

class frmAbout {
 public:
  frmAbout(frmAboutView& view, frmMain& main);
  ~frmAbout();
  frmAbout(const frmAbout&) = delete;
  frmAbout& operator=(const frmAbout&) = delete;

  // Sets the caption and the name and version; the view calls it once its
  // controls exist.
  void Form_Load();
  // The handlers the view calls; Escape and the close box call cmdOK_Click.
  void cmdOK_Click();
  void cmdSysInfo_Click();

 private:
  frmAboutView& view_;
  frmMain& main_;
};

}  // namespace veilbox
