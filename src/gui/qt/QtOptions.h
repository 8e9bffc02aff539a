// The Qt view of frmOptions: the store folders' list (drive, path) with Add,
// Edit and Remove, and OK and Cancel. Not modal; destroyed when it closes.
#pragma once

#include <QDialog>

#include "gui/frmOptions.h"
#include "gui/frmOptionsView.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace veilbox {

class QtOptions : public QDialog, public frmOptionsView {
  Q_OBJECT

 public:
  QtOptions(frmMain& main, QWidget* parent);

  QGroupBox* Frame1;
  QLabel* Label1;
  QTreeWidget* lstFoldersPath;
  QPushButton* cmdAdd;
  QPushButton* cmdEdit;
  QPushButton* cmdRemove;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

  // frmOptionsView
  void SetCaption(const std::string& caption) override;
  void SetEnabled(OptionsControl control, bool enabled) override;
  void FillList(const std::vector<StoreRow>& rows) override;
  std::optional<size_t> SelectedRow() const override;
  void SelectRow(size_t row) override;
  void Close() override;

 protected:
  // Escape and the close box cancel, as the Cancel button does.
  void reject() override;

 private:
  frmOptions logic_;
  bool closing_ = false;
};

}  // namespace veilbox
