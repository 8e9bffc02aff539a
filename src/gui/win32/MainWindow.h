// The Windows view of frmMain: the folder list with a check box per row, the
// Folders and Status frames, the Lock/Unlock button, the progress bar, the
// status bar and the menus. It owns the window's logic and the other
// windows, passes every click, tick, choice and menu command to the logic's
// handlers, and shows what the logic tells it.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "gui/frmMain.h"
#include "gui/frmMainView.h"
#include "gui/win32/DialogWindow.h"

namespace veilbox::win32 {

class AboutWindow;
class LoginWindow;
class OptionsWindow;

class MainWindow : public DialogWindow, public frmMainView {
 public:
  // end_program leaves the program's message loop.
  MainWindow(Session& session, MainWindowDialogue& dialogue, std::function<void()> end_program);
  ~MainWindow() override;

  frmMain& Logic() { return *logic_; }

  // The other windows, while they exist.
  LoginWindow* Login() const { return login_.get(); }
  OptionsWindow* Options() const { return options_.get(); }
  AboutWindow* About() const { return about_.get(); }
  bool Busy() const { return busy_; }

  // frmMainView
  void SetCaption(const std::string& caption) override;
  void SetLockButtonCaption(const std::string& caption) override;
  void SetEnabled(MainControl control, bool enabled) override;
  void FillList(const std::vector<ListRow>& rows) override;
  std::vector<bool> Ticks() const override;
  void ClearTicks() override;
  std::string StatusChoice() const override;
  void SetStatusChoice(const std::string& text) override;
  bool EncryptTicked() const override;
  void SetEncryptTicked(bool ticked) override;
  void SetEncryptMenuChecked(bool checked) override;
  void SetProgress(long value, long maximum) override;
  void SetStatusLine(const std::string& text) override;
  void SetBusy(bool busy) override;
  void SetVisible(bool visible) override;
  void OpenLogin() override;
  void OpenOptions() override;
  void OpenAbout() override;
  void EndProgram() override;

  // A window that closed itself (from its own handler) is let go at once, so
  // that the menu opens a new one, and destroyed once no command runs.
  void Release(const DialogWindow* window);

 protected:
  void OnCommand(int id, int code) override;
  void OnNotify(const NMHDR& header) override;
  void OnClose() override;
  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  HCURSOR Cursor() const override;

 private:
  std::unique_ptr<frmMain> logic_;
  std::function<void()> end_program_;
  std::unique_ptr<LoginWindow> login_;
  std::unique_ptr<OptionsWindow> options_;
  std::unique_ptr<AboutWindow> about_;
  // Windows that closed themselves, destroyed once their handlers returned.
  std::vector<std::unique_ptr<DialogWindow>> closed_;
  bool filling_ = false;  // the list changes by the program, not by a click
  bool busy_ = false;
};

}  // namespace veilbox::win32
