// What the layers below the core may say to the user, without asking
// anything: a notice, a failure for the error reporter, and a moment for
// pending events while they wait. The core implements it over its question
// port and its error reporter, and hands it down; Trap runs one operation
// under an error trap that reports to it.
#pragma once

#include <new>
#include <source_location>
#include <string>

#include "diag/Failure.h"

namespace veilbox {

enum class Icon { None, Information, Question, Exclamation, Critical };

class UserNotices {
 public:
  virtual ~UserNotices() = default;
  // Shows a notice with an OK button.
  virtual void Tell(const std::string& text, const std::string& title,
                    Icon icon = Icon::Information) = 0;
  // Hands a trapped failure to the error reporter.
  virtual void Report(const Failure& failure) = 0;
  // Lets the front end handle pending events during a long operation.
  virtual void PumpEvents() {}
};

// Runs op; a failure inside it goes to reporter (anything with
// Report(const Failure&)) and ends op. Failures that carry no source line
// (from the standard library) are reported at the line that armed the trap.
// Returns whether op ran to its end.
template <class Reporter, class Op>
bool Trap(Reporter& reporter, Op&& op,
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
