// The Qt view of frmAbout: the icon, the product's name, version and a short
// description, OK and "&System Info...". Not modal; destroyed when it closes.
#pragma once

#include <QDialog>

#include "gui/frmAbout.h"
#include "gui/frmAboutView.h"

class QLabel;
class QPushButton;

namespace veilbox {

class QtAbout : public QDialog, public frmAboutView {
  Q_OBJECT

 public:
  // Takes its icon from parent, the main window.
  QtAbout(frmMain& main, QWidget* parent);

  QLabel* picIcon;
  QLabel* lblTitle;
  QLabel* lblVersion;
  QLabel* lblDescription;
  QLabel* lblDisclaimer;
  QLabel* Label1;
  QPushButton* cmdOK;
  QPushButton* cmdSysInfo;

  // frmAboutView
  void SetCaption(const std::string& caption) override;
  void SetText(AboutControl control, const std::string& text) override;
  // The first of a few well-known programs found on PATH.
  bool StartSystemInfo() override;
  void Close() override;

 protected:
  // Escape and the close box close, as OK does.
  void reject() override;

 private:
  frmAbout logic_;
  bool closing_ = false;
};

}  // namespace veilbox
