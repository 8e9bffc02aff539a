// How the core talks to the user. The core never shows anything itself: each
// front end (desktop, command line, tests) implements this interface. A
// question is a typed value (Questions.h); a desktop shows it worded, a
// command line answers it by its kind.
#pragma once

#include <string>

#include "app/Questions.h"
#include "diag/UserNotices.h"

namespace veilbox {

class Dialogue {
 public:
  virtual ~Dialogue() = default;

  // A question: the user's answer. Only Yes accepts one. By default it is
  // shown worded, as a message box.
  virtual Answer Ask(const Question& question) { return Show(WordingOf(question)); }
  // A message box worded so: the user's answer.
  virtual Answer Show(const Wording& box) = 0;
  // Shows a notice with an OK button.
  void Tell(const std::string& text, const std::string& title, Icon icon = Icon::Information) {
    Show({text, title, icon, Buttons::OK});
  }

  // A folder chooser for what choice says, opened at start (a folder's full
  // path) where the front end can: the chosen folder's full path, or empty
  // text on cancel.
  virtual std::string ChooseFolder(FolderChoice choice, const std::string& start = {}) = 0;

  // A pass over the files of one listed folder (named by the folder's name)
  // begins, and ends however it ends; the progress between the two is that
  // pass's.
  virtual void BeginPass(const std::string& /*folder*/) {}
  virtual void EndPass() {}

  // Progress of a long pass: value of maximum.
  virtual void ShowProgress(long value, long maximum) = 0;

  // Opens a web address with the program the desktop associates with it.
  virtual void OpenAddress(const std::string& address) = 0;

  // Lets the front end handle pending events during a long operation.
  virtual void PumpEvents() {}
};

}  // namespace veilbox
