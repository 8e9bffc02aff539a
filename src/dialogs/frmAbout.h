// frmAbout: the application's name, version and a short description, and a
// button that starts the system-information program. Not modal.
#pragma once

#include <QDialog>

#include "app/AppState.h"
#include "engine/CommandGate.h"

class QLabel;
class QPushButton;

namespace veilbox {

class frmAbout : public QDialog {
  Q_OBJECT

 public:
  // Takes its icon from parent, the main window.
  frmAbout(AppState& state, CommandGate& gate, QWidget* parent);

  QLabel* picIcon;
  QLabel* lblTitle;
  QLabel* lblVersion;
  QLabel* lblDescription;
  QLabel* lblDisclaimer;
  QLabel* Label1;
  QPushButton* cmdOK;
  QPushButton* cmdSysInfo;

 private:
  // Starts the program, or says it is unavailable (also when it will not
  // start).
  void StartSysInfo();

  AppState& state_;
  CommandGate& gate_;
};

}  // namespace veilbox
