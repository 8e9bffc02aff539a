// ErrorHandler: shows a trapped failure with its number, description, step
// number and step text, and lets the user silence a step for the rest of the
// run. Trap runs one operation under its error trap.
#pragma once

#include <new>
#include <source_location>
#include <string>
#include <vector>

#include "diag/Failure.h"
#include "platform/Dialogue.h"

namespace veilbox {

class ErrorReporter {
 public:
  explicit ErrorReporter(Dialogue& dialogue) : dialogue_(dialogue) {}

  void ErrorHandler(long number, const std::string& description, long step);
  // Reports a failure at the step of the line it was raised at.
  void Report(const Failure& failure);

  bool LinesLoaded() const { return lines_loaded_; }
  const std::vector<long>& NoPauseLines() const { return no_pause_lines_; }

 private:
  Dialogue& dialogue_;
  bool lines_loaded_ = false;
  std::vector<std::string> code_lines_;
  std::vector<long> no_pause_lines_;
};

// Runs op; a failure inside it goes to the reporter and ends op. Failures
// that carry no source line (from the standard library) are reported at the
// line that armed the trap. Returns whether op ran to its end.
template <class Op>
bool Trap(ErrorReporter& reporter, Op&& op,
          std::source_location where = std::source_location::current()) {
  try {
    op();
    return true;
  } catch (const Failure& f) {
    reporter.Report(f);
  } catch (const std::bad_alloc&) {
    reporter.Report(Failure(7, "Out of memory", where));
  } catch (const std::exception& e) {
    reporter.Report(Failure(err::kInvalidArgument, e.what(), where));
  }
  return false;
}

}  // namespace veilbox
