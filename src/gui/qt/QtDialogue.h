// The desktop's message boxes and folder chooser: QMessageBox with the asked
// icon, buttons and title and its text as plain text, QFileDialog's folder
// chooser, and the desktop's program for web addresses. While a command
// runs, painting goes on and the user's clicks and keys wait for it.
#pragma once

#include "app/Dialogue.h"

namespace veilbox {

class QtDialogue : public Dialogue {
 public:
  Answer Ask(const std::string& text, const std::string& title, Icon icon,
             Buttons buttons) override;
  std::string ChooseFolder(const std::string& title) override;
  std::string ChooseFolderAt(const std::string& title, const std::string& start) override;
  void OpenAddress(const std::string& address) override;
  // The main window shows progress (MainWindowDialogue); nothing here.
  void ShowProgress(long, long) override {}
  void PumpEvents() override;
};

}  // namespace veilbox
