// How the core talks to the user. The core never shows anything itself: each
// front end (desktop, command line, tests) implements this interface.
#pragma once

#include <string>

#include "diag/UserNotices.h"

namespace veilbox {

enum class Buttons { OK, OKCancel, YesNo, YesNoCancel };
enum class Answer { OK, Cancel, Yes, No };

class Dialogue {
 public:
  virtual ~Dialogue() = default;

  // A message box: the user's answer. Only Yes accepts a question.
  virtual Answer Ask(const std::string& text, const std::string& title, Icon icon,
                     Buttons buttons) = 0;

  // Shows a notice with an OK button.
  void Tell(const std::string& text, const std::string& title, Icon icon = Icon::Information) {
    Ask(text, title, icon, Buttons::OK);
  }

  // A folder chooser: the chosen folder's full path, or empty text on cancel.
  virtual std::string ChooseFolder(const std::string& title) = 0;
  // The same chooser opened at start (a folder's full path); a front end
  // without that choice opens it where it always does.
  virtual std::string ChooseFolderAt(const std::string& title, const std::string& /*start*/) {
    return ChooseFolder(title);
  }

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
