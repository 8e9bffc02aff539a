// What the login window's logic (frmLogin) asks of a toolkit's login window:
// a "&Password:" label, a password field shown as "*", OK (the default
// button, taking Enter) and Cancel (taking Escape and the close box). The
// field has the focus when the window opens.
#pragma once

#include <string>

namespace veilbox {

class frmLoginView {
 public:
  virtual ~frmLoginView() = default;

  virtual void SetCaption(const std::string& caption) = 0;
  // txtPassword's text, and emptying it.
  virtual std::string Password() const = 0;
  virtual void ClearPassword() = 0;
  // Hides the window for good; the main window's view destroys it later.
  virtual void Hide() = 0;
};

}  // namespace veilbox
