// The dialogue the core talks through while the desktop runs: questions,
// folder choosers and web addresses go to the toolkit's boxes (or a scripted
// dialogue in tests), which also lets pending events run; the progress of a
// pass goes to the main window's logic, which shows it in the window.
#pragma once

#include "app/Dialogue.h"

namespace veilbox {

class frmMain;

class MainWindowDialogue : public Dialogue {
 public:
  explicit MainWindowDialogue(Dialogue& boxes) : boxes_(boxes) {}

  // The window that shows progress; nullptr while there is none.
  void Attach(frmMain* window) { window_ = window; }

  Answer Ask(const Question& question) override;
  Answer Show(const Wording& box) override;
  std::string ChooseFolder(FolderChoice choice, const std::string& start) override;
  void OpenAddress(const std::string& address) override { boxes_.OpenAddress(address); }
  void BeginPass(const std::string& folder) override;
  void ShowProgress(long value, long maximum) override;
  void EndPass() override;
  void PumpEvents() override { boxes_.PumpEvents(); }

 private:
  Dialogue& boxes_;
  frmMain* window_ = nullptr;
};

}  // namespace veilbox
