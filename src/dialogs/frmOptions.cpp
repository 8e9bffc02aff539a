#include "dialogs/frmOptions.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/Twips.h"

namespace veilbox {
namespace {

QPushButton* Button(const char* caption, const char* name, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setMinimumSize(Twips(1095), Twips(375));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

frmOptions::frmOptions(AppState& state, CommandGate& gate,
                       std::function<std::vector<ListRow>()> main_rows, QWidget* parent)
    : QDialog(parent), gate_(gate), main_rows_(std::move(main_rows)), preferences_(state) {
  setObjectName("frmOptions");
  setWindowTitle("Options");
  setModal(false);
  // Closing destroys the rows; the next opening loads them afresh.
  setAttribute(Qt::WA_DeleteOnClose);

  Frame1 = new QGroupBox("Options:", this);
  Frame1->setObjectName("Frame1");
  Label1 = new QLabel("Hidden/locked folder paths", Frame1);
  Label1->setObjectName("Label1");
  lstFoldersPath = new QTreeWidget(Frame1);
  lstFoldersPath->setObjectName("lstFoldersPath");
  lstFoldersPath->setHeaderLabels({"Drive", "Path"});
  lstFoldersPath->setRootIsDecorated(false);
  lstFoldersPath->setColumnWidth(0, Twips(1200));
  cmdAdd = Button("Add", "cmdAdd", Frame1);
  cmdEdit = Button("Edit", "cmdEdit", Frame1);
  cmdRemove = Button("Remove", "cmdRemove", Frame1);
  cmdEdit->setEnabled(false);
  cmdRemove->setEnabled(false);
  cmdOK = Button("OK", "cmdOK", this);
  cmdCancel = Button("Cancel", "cmdCancel", this);  // Escape presses it (QDialog::reject)

  auto* frame = new QVBoxLayout(Frame1);
  frame->addWidget(Label1);
  frame->addWidget(lstFoldersPath, 1);
  auto* edit_row = new QHBoxLayout;
  edit_row->addWidget(cmdAdd);
  edit_row->addWidget(cmdEdit);
  edit_row->addWidget(cmdRemove);
  edit_row->addStretch(1);
  frame->addLayout(edit_row);
  auto* column = new QVBoxLayout(this);
  column->addWidget(Frame1, 1);
  auto* close_row = new QHBoxLayout;
  close_row->addStretch(1);
  close_row->addWidget(cmdOK);
  close_row->addWidget(cmdCancel);
  column->addLayout(close_row);
  resize(QSize(Twips(6600), Twips(4200)).expandedTo(sizeHint()));

  connect(cmdAdd, &QPushButton::clicked, this, [this] { Command(&frmOptions::cmdAdd_Click); });
  connect(cmdEdit, &QPushButton::clicked, this, [this] { Command(&frmOptions::cmdEdit_Click); });
  connect(cmdRemove, &QPushButton::clicked, this,
          [this] { Command(&frmOptions::cmdRemove_Click); });
  connect(cmdOK, &QPushButton::clicked, this, [this] { Command(&frmOptions::cmdOK_Click); });
  connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(lstFoldersPath, &QTreeWidget::itemSelectionChanged, this,
          [this] { lstFoldersPath_Click(); });

  ShowRows();
}

void frmOptions::Command(void (frmOptions::*handler)()) {
  gate_.Run([&] { (this->*handler)(); });
}

void frmOptions::cmdAdd_Click() {
  if (preferences_.Add(main_rows_())) ShowRows();
}

void frmOptions::cmdEdit_Click() {
  // Without a selected row (after a removal) Edit does nothing.
  const std::optional<size_t> row = SelectedRow();
  if (preferences_.Edit(row, main_rows_())) {
    ShowRows();
    lstFoldersPath->topLevelItem(static_cast<int>(*row))->setSelected(true);
  }
}

void frmOptions::cmdRemove_Click() {
  if (preferences_.Remove(SelectedRow(), main_rows_())) ShowRows();
}

void frmOptions::cmdOK_Click() {
  // After a failed write the window stays open with the user's rows, to try
  // again or cancel.
  if (preferences_.Save()) close();
}

void frmOptions::lstFoldersPath_Click() {
  // Once on, Edit and Remove stay on until the window closes.
  if (SelectedRow()) {
    cmdEdit->setEnabled(true);
    cmdRemove->setEnabled(true);
  }
}

void frmOptions::ShowRows() {
  lstFoldersPath->clear();
  for (const StoreRow& row : preferences_.Rows()) {
    new QTreeWidgetItem(lstFoldersPath,
                        {QString::fromStdString(row.drive), QString::fromStdString(row.path)});
  }
}

std::optional<size_t> frmOptions::SelectedRow() const {
  const QList<QTreeWidgetItem*> selected = lstFoldersPath->selectedItems();
  if (selected.isEmpty()) return std::nullopt;
  return static_cast<size_t>(lstFoldersPath->indexOfTopLevelItem(selected.first()));
}

}  // namespace veilbox
