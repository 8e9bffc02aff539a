// frmLogin: the password dialog of start-up, in create or enter mode. It is
// not modal; the main window stays hidden while it is open.
#pragma once

#include <QDialog>
#include <functional>

#include "app/AppState.h"
#include "engine/CommandGate.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace veilbox {

class frmLogin : public QDialog {
  Q_OBJECT

 public:
  // right_password shows the main window and runs start-up stage 2;
  // end_program ends the program.
  frmLogin(AppState& state, CommandGate& gate, std::function<void()> right_password,
           std::function<void()> end_program);

  QLabel* lblLabels;
  QLineEdit* txtPassword;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

 protected:
  // Escape and the close box cancel, as the Cancel button does.
  void reject() override;

 private:
  void cmdOK_Click();
  void cmdCancel_Click();

  AppState& state_;
  CommandGate& gate_;
  std::function<void()> right_password_;
  std::function<void()> end_program_;
};

}  // namespace veilbox
