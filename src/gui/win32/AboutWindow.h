// The Windows view of frmAbout: the program's icon, name (in a larger bold
// font) and version, the description texts, OK (the default button; Escape
// and the close box close too) and "&System Info...". Owned by the main
// window.
#pragma once

#include <memory>

#include "gui/frmAbout.h"
#include "gui/frmAboutView.h"
#include "gui/win32/DialogWindow.h"

namespace veilbox::win32 {

class MainWindow;

class AboutWindow : public DialogWindow, public frmAboutView {
 public:
  // Creates and loads the window, hidden.
  explicit AboutWindow(MainWindow& main);
  ~AboutWindow() override;

  void Show();

  // frmAboutView
  void SetCaption(const std::string& caption) override;
  void SetText(AboutControl control, const std::string& text) override;
  bool StartSystemInfo() override;
  void Close() override;

 protected:
  void OnCommand(int id, int code) override;
  void OnClose() override;

 private:
  MainWindow& main_;
  std::unique_ptr<frmAbout> logic_;
  HFONT title_font_ = nullptr;
};

}  // namespace veilbox::win32
