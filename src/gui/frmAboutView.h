// What the about box's logic (frmAbout) asks of a toolkit's about box: the
// icon, the product's name and version, the fixed description texts, OK (the
// default button; Escape closes too) and "&System Info...".
#pragma once

#include <string>

namespace veilbox {

enum class AboutControl { lblTitle, lblVersion };

class frmAboutView {
 public:
  virtual ~frmAboutView() = default;

  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetText(AboutControl control, const std::string& text) = 0;
  // Starts the system's system-information program, not waiting for it;
  // false when there is none or it would not start.
  virtual bool StartSystemInfo() = 0;
  // Closes and destroys the window; its logic goes with it.
  virtual void Close() = 0;
};

}  // namespace veilbox
