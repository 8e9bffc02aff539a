// ErrorHandler: shows a trapped failure with its number, description, step
// number and step text, and lets the user silence a step for the rest of the
// run. Trap (diag/UserNotices.h) runs one operation under its error trap.
// The reporter is also the user notices the layers below the core are
// given: their notices and pauses for events go to the dialogue.
#pragma once

#include <string>
#include <vector>

#include "app/Dialogue.h"
#include "diag/Failure.h"
#include "diag/UserNotices.h"

namespace veilbox {

class ErrorReporter : public UserNotices {
 public:
  explicit ErrorReporter(Dialogue& dialogue) : dialogue_(dialogue) {}

  void ErrorHandler(long number, const std::string& description, long step);
  // Reports a failure at the step of the line it was raised at.
  void Report(const Failure& failure) override;
  void Tell(const std::string& text, const std::string& title, Icon icon) override {
    dialogue_.Tell(text, title, icon);
  }
  void PumpEvents() override { dialogue_.PumpEvents(); }

  bool LinesLoaded() const { return lines_loaded_; }
  const std::vector<long>& NoPauseLines() const { return no_pause_lines_; }

 private:
  Dialogue& dialogue_;
  bool lines_loaded_ = false;
  std::vector<std::string> code_lines_;
  std::vector<long> no_pause_lines_;
};

}  // namespace veilbox
