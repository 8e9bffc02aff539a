// frmOptions: the preferences window's logic: the store folders, one per
// drive, edited as a working copy and written back only by OK. Not modal:
// the main window stays usable.
#pragma once

#include "engine/StorePreferences.h"
#include "gui/frmOptionsView.h"

namespace veilbox {

class frmMain;

class frmOptions {
 public:
  // Loads the working copy from the session.
  frmOptions(frmOptionsView& view, frmMain& main);
  ~frmOptions();
  frmOptions(const frmOptions&) = delete;
  frmOptions& operator=(const frmOptions&) = delete;

  // Sets the caption and shows the rows; the view calls it once its
  // controls exist.
  void Form_Load();
  // The handlers the view calls; Escape and the close box call
  // cmdCancel_Click.
  void cmdAdd_Click();
  void cmdEdit_Click();
  void cmdRemove_Click();
  void cmdOK_Click();
  void cmdCancel_Click();
  void lstFoldersPath_Click();  // the selection changed

 private:
  void Command(void (frmOptions::*handler)());
  void AddClicked();
  void EditClicked();
  void RemoveClicked();
  void OKClicked();

  frmOptionsView& view_;
  frmMain& main_;
  StorePreferences preferences_;
};

}  // namespace veilbox
