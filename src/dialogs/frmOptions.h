// frmOptions: the store folders, one per drive, edited as a working copy and
// written back only by OK. Not modal: the main window stays usable.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

#include "app/AppState.h"
#include "engine/StorePreferences.h"
#include "engine/CommandGate.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace veilbox {

class frmOptions : public QDialog {
  Q_OBJECT

 public:
  // main_rows gives the main list's rows at the moment of a command.
  frmOptions(AppState& state, CommandGate& gate, std::function<std::vector<ListRow>()> main_rows,
             QWidget* parent);

  QGroupBox* Frame1;
  QLabel* Label1;
  QTreeWidget* lstFoldersPath;
  QPushButton* cmdAdd;
  QPushButton* cmdEdit;
  QPushButton* cmdRemove;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

 private:
  void Command(void (frmOptions::*handler)());
  void cmdAdd_Click();
  void cmdEdit_Click();
  void cmdRemove_Click();
  void cmdOK_Click();
  void lstFoldersPath_Click();

  void ShowRows();
  std::optional<size_t> SelectedRow() const;

  CommandGate& gate_;
  std::function<std::vector<ListRow>()> main_rows_;
  StorePreferences preferences_;
};

}  // namespace veilbox
