#include "engine/MainWindowDialogue.h"

#include <QCoreApplication>
#include <algorithm>
#include <climits>

namespace veilbox {

void MainWindowDialogue::ShowProgress(long value, long maximum) {
  if (bar_) {
    bar_->setMaximum(static_cast<int>(std::min<long>(maximum, INT_MAX)));
    bar_->setValue(static_cast<int>(std::min<long>(value, INT_MAX)));
  }
  boxes_.ShowProgress(value, maximum);
  PumpEvents();
}

void MainWindowDialogue::PumpEvents() {
  // Clicks and keys stay queued until the running command returns; painting,
  // timers and window-system events go on.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  boxes_.PumpEvents();
}

}  // namespace veilbox
