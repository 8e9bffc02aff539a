#include "gui/MainWindowDialogue.h"

#include "gui/frmMain.h"

namespace veilbox {
namespace {

// The normal cursor over a box or chooser that a running pass shows.
class BusyPause {
 public:
  explicit BusyPause(frmMain* window) : window_(window) {
    if (window_) window_->PauseBusy(true);
  }
  ~BusyPause() {
    if (window_) window_->PauseBusy(false);
  }
  BusyPause(const BusyPause&) = delete;
  BusyPause& operator=(const BusyPause&) = delete;

 private:
  frmMain* window_;
};

}  // namespace

Answer MainWindowDialogue::Ask(const std::string& text, const std::string& title, Icon icon,
                               Buttons buttons) {
  BusyPause pause(window_);
  return boxes_.Ask(text, title, icon, buttons);
}

std::string MainWindowDialogue::ChooseFolder(const std::string& title) {
  BusyPause pause(window_);
  return boxes_.ChooseFolder(title);
}

std::string MainWindowDialogue::ChooseFolderAt(const std::string& title, const std::string& start) {
  BusyPause pause(window_);
  return boxes_.ChooseFolderAt(title, start);
}

void MainWindowDialogue::BeginPass(const std::string& folder) {
  if (window_) window_->BeginPass(folder);
  boxes_.BeginPass(folder);
}

void MainWindowDialogue::ShowProgress(long value, long maximum) {
  if (window_) window_->ShowProgress(value, maximum);
  boxes_.ShowProgress(value, maximum);
  PumpEvents();
}

void MainWindowDialogue::EndPass() {
  if (window_) window_->EndPass();
  boxes_.EndPass();
}

}  // namespace veilbox
