#include "gui/frmOptions.h"

#include "gui/frmMain.h"

namespace veilbox {

frmOptions::frmOptions(frmOptionsView& view, frmMain& main)
    : view_(view), main_(main), preferences_(main.Core()) {}

frmOptions::~frmOptions() {
  main_.Commands().Forget(this);
}

void frmOptions::Form_Load() {
  view_.SetCaption("Options");
  view_.SetEnabled(OptionsControl::cmdEdit, false);
  view_.SetEnabled(OptionsControl::cmdRemove, false);
  view_.FillList(preferences_.Rows());
}

void frmOptions::Command(void (frmOptions::*handler)()) {
  main_.Commands().Run(this, [this, handler] {
    if (!main_.ProgramEnded()) (this->*handler)();
  });
}

void frmOptions::cmdAdd_Click() {
  Command(&frmOptions::AddClicked);
}
void frmOptions::cmdEdit_Click() {
  Command(&frmOptions::EditClicked);
}
void frmOptions::cmdRemove_Click() {
  Command(&frmOptions::RemoveClicked);
}
void frmOptions::cmdOK_Click() {
  Command(&frmOptions::OKClicked);
}

void frmOptions::cmdCancel_Click() {
  // The rows are dropped unsaved; the view destroys this object.
  view_.Close();
}

void frmOptions::lstFoldersPath_Click() {
  // Once on, Edit and Remove stay on until the window closes.
  if (view_.SelectedRow()) {
    view_.SetEnabled(OptionsControl::cmdEdit, true);
    view_.SetEnabled(OptionsControl::cmdRemove, true);
  }
}

void frmOptions::AddClicked() {
  if (preferences_.Add(main_.ListRows())) view_.FillList(preferences_.Rows());
}

void frmOptions::EditClicked() {
  // Without a selected row (after a removal) Edit does nothing.
  const std::optional<size_t> row = view_.SelectedRow();
  if (preferences_.Edit(row, main_.ListRows())) {
    view_.FillList(preferences_.Rows());
    view_.SelectRow(*row);
  }
}

void frmOptions::RemoveClicked() {
  if (preferences_.Remove(view_.SelectedRow(), main_.ListRows())) {
    view_.FillList(preferences_.Rows());
  }
}

void frmOptions::OKClicked() {
  // After a failed write the window stays open with the user's rows, to try
  // again or cancel.
  if (preferences_.Save()) view_.Close();
}

}  // namespace veilbox
