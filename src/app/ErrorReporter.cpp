#include "app/ErrorReporter.h"

#include <algorithm>

#include "diag/StepTable.h"

namespace veilbox {

void ErrorReporter::ErrorHandler(long number, const std::string& description, long step) {
  if (!lines_loaded_) {
    no_pause_lines_ = {0};
    code_lines_ = LoadCodeLines();
    lines_loaded_ = true;
  }
  if (std::find(no_pause_lines_.begin(), no_pause_lines_.end(), step) != no_pause_lines_.end()) {
    return;
  }
  const std::string code =
      step >= 0 && static_cast<size_t>(step) < code_lines_.size() ? code_lines_[step] : "";
  if (dialogue_.Ask(ask::PauseOnError{number, description, step, code}) == Answer::No) {
    no_pause_lines_.push_back(step);
  }
}

void ErrorReporter::Report(const Failure& failure) {
  ErrorHandler(failure.Number(), failure.Description(), StepOf(failure.Where()));
}

}  // namespace veilbox
