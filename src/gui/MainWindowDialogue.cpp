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

Answer MainWindowDialogue::Ask(const Question& question) {
  BusyPause pause(window_);
  return boxes_.Ask(question);
}

Answer MainWindowDialogue::Show(const Wording& box) {
  BusyPause pause(window_);
  return boxes_.Show(box);
}

std::string MainWindowDialogue::ChooseFolder(FolderChoice choice, const std::string& start) {
  BusyPause pause(window_);
  return boxes_.ChooseFolder(choice, start);
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
