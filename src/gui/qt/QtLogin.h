// The Qt view of frmLogin: the password field with OK and Cancel. Not modal;
// the main window stays hidden while it is open.
#pragma once

#include <QDialog>

#include "gui/frmLogin.h"
#include "gui/frmLoginView.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace veilbox {

class QtLogin : public QDialog, public frmLoginView {
  Q_OBJECT

 public:
  explicit QtLogin(frmMain& main);

  QLabel* lblLabels;
  QLineEdit* txtPassword;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

  // frmLoginView
  void SetCaption(const std::string& caption) override;
  std::string Password() const override;
  void ClearPassword() override;
  void Hide() override;

 protected:
  // Escape and the close box cancel, as the Cancel button does.
  void reject() override;

 private:
  frmLogin logic_;
};

}  // namespace veilbox
