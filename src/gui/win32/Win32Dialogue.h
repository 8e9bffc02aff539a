// The Windows desktop's message boxes (MessageBoxW with the wording's icon,
// buttons and title, the first button the default), folder chooser, web
// addresses (the shell's program for them) and event pump.
#pragma once

#include "app/Dialogue.h"

namespace veilbox::win32 {

class Win32Dialogue : public Dialogue {
 public:
  Answer Show(const Wording& box) override;
  std::string ChooseFolder(FolderChoice choice, const std::string& start) override;
  // The main window shows progress; nothing here.
  void ShowProgress(long, long) override {}
  void OpenAddress(const std::string& address) override;
  // Painting, timers and messages the program posts run; clicks and keys
  // wait in the queue until the running command returns.
  void PumpEvents() override;
};

}  // namespace veilbox::win32
