// The desktop's message boxes and folder chooser: QMessageBox with the
// wording's icon, buttons and title and its text as plain text, QFileDialog's folder
// chooser, and the desktop's program for web addresses. While a command
// runs, painting goes on and the user's clicks and keys wait for it.
#pragma once

#include "app/Dialogue.h"

namespace veilbox {

class QtDialogue : public Dialogue {
 public:
  Answer Show(const Wording& box) override;
  std::string ChooseFolder(FolderChoice choice, const std::string& start) override;
  void OpenAddress(const std::string& address) override;
  // The main window shows progress (MainWindowDialogue); nothing here.
  void ShowProgress(long, long) override {}
  void PumpEvents() override;
};

}  // namespace veilbox
