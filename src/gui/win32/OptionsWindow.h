// The Windows view of frmOptions: the two-column list of store folders
// (drive, path; the full text of a cell as its tooltip), Add, Edit, Remove,
// OK and Cancel (Escape and the close box). Owned by the main window.
#pragma once

#include <memory>

#include "gui/frmOptions.h"
#include "gui/frmOptionsView.h"
#include "gui/win32/DialogWindow.h"

namespace veilbox::win32 {

class MainWindow;

class OptionsWindow : public DialogWindow, public frmOptionsView {
 public:
  // Creates and loads the window, hidden.
  explicit OptionsWindow(MainWindow& main);
  ~OptionsWindow() override;

  void Show();

  // frmOptionsView
  void SetCaption(const std::string& caption) override;
  void SetEnabled(OptionsControl control, bool enabled) override;
  void FillList(const std::vector<StoreRow>& rows) override;
  std::optional<size_t> SelectedRow() const override;
  void SelectRow(size_t row) override;
  void Close() override;

 protected:
  void OnCommand(int id, int code) override;
  void OnNotify(const NMHDR& header) override;
  void OnClose() override;
  HCURSOR Cursor() const override;

 private:
  MainWindow& main_;
  std::unique_ptr<frmOptions> logic_;
  bool filling_ = false;  // the selection changes by the program, not by a click
};

}  // namespace veilbox::win32
