// SIGINT, SIGTERM, SIGHUP and SIGQUIT blocked; a pending one is delivered
// when the old signal mask comes back.
#include <signal.h>

#include "cli/EndingSignals.h"

namespace veilbox::cli {

struct EndingSignalsHeld::Saved {
  sigset_t old_mask;
};

EndingSignalsHeld::EndingSignalsHeld() : saved_(std::make_unique<Saved>()) {
  sigset_t ending;
  sigemptyset(&ending);
  for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&ending, s);
  sigprocmask(SIG_BLOCK, &ending, &saved_->old_mask);
}

EndingSignalsHeld::~EndingSignalsHeld() {
  Release();
}

void EndingSignalsHeld::Release() {
  if (!saved_) return;
  sigprocmask(SIG_SETMASK, &saved_->old_mask, nullptr);
  saved_.reset();
}

}  // namespace veilbox::cli
