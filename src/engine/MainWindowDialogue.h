// The dialogue the core talks through while the desktop runs: questions and
// folder choices go to the boxes dialogue (message boxes, or a scripted one
// in tests); progress goes to the main window's bar, and waiting lets the
// windows repaint while user input waits for the running command to end.
#pragma once

#include <QPointer>
#include <QProgressBar>

#include "platform/Dialogue.h"

namespace veilbox {

class MainWindowDialogue : public Dialogue {
 public:
  explicit MainWindowDialogue(Dialogue& boxes) : boxes_(boxes) {}

  void Attach(QProgressBar* bar) { bar_ = bar; }

  Answer Ask(const std::string& text, const std::string& title, Icon icon,
             Buttons buttons) override {
    return boxes_.Ask(text, title, icon, buttons);
  }
  std::string ChooseFolder(const std::string& title) override { return boxes_.ChooseFolder(title); }
  void OpenAddress(const std::string& address) override { boxes_.OpenAddress(address); }
  void ShowProgress(long value, long maximum) override;
  void PumpEvents() override;

 private:
  Dialogue& boxes_;
  QPointer<QProgressBar> bar_;
};

}  // namespace veilbox
