#include "gui/qt/QtOptions.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/Twips.h"

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

QtOptions::QtOptions(frmMain& main, QWidget* parent) : QDialog(parent), logic_(*this, main) {
  setObjectName("frmOptions");
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
  // A long drive key (a mount point) keeps its start and end in view.
  lstFoldersPath->setTextElideMode(Qt::ElideMiddle);
  cmdAdd = Button("Add", "cmdAdd", Frame1);
  cmdEdit = Button("Edit", "cmdEdit", Frame1);
  cmdRemove = Button("Remove", "cmdRemove", Frame1);
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

  connect(cmdAdd, &QPushButton::clicked, this, [this] { logic_.cmdAdd_Click(); });
  connect(cmdEdit, &QPushButton::clicked, this, [this] { logic_.cmdEdit_Click(); });
  connect(cmdRemove, &QPushButton::clicked, this, [this] { logic_.cmdRemove_Click(); });
  connect(cmdOK, &QPushButton::clicked, this, [this] { logic_.cmdOK_Click(); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { logic_.cmdCancel_Click(); });
  connect(lstFoldersPath, &QTreeWidget::itemSelectionChanged, this,
          [this] { logic_.lstFoldersPath_Click(); });
  logic_.Form_Load();
}

void QtOptions::reject() {
  if (closing_) {
    QDialog::reject();
  } else {
    logic_.cmdCancel_Click();
  }
}

void QtOptions::SetCaption(const std::string& caption) {
  setWindowTitle(QString::fromStdString(caption));
}

void QtOptions::SetEnabled(OptionsControl control, bool enabled) {
  (control == OptionsControl::cmdEdit ? cmdEdit : cmdRemove)->setEnabled(enabled);
}

void QtOptions::FillList(const std::vector<StoreRow>& rows) {
  const QSignalBlocker quiet(lstFoldersPath);
  lstFoldersPath->clear();
  for (const StoreRow& row : rows) {
    const QString drive = QString::fromStdString(row.drive);
    auto* item = new QTreeWidgetItem(lstFoldersPath, {drive, QString::fromStdString(row.path)});
    item->setToolTip(0, drive);
  }
}

std::optional<size_t> QtOptions::SelectedRow() const {
  const QList<QTreeWidgetItem*> selected = lstFoldersPath->selectedItems();
  if (selected.isEmpty()) return std::nullopt;
  return static_cast<size_t>(lstFoldersPath->indexOfTopLevelItem(selected.first()));
}

void QtOptions::SelectRow(size_t row) {
  const QSignalBlocker quiet(lstFoldersPath);
  if (QTreeWidgetItem* item = lstFoldersPath->topLevelItem(static_cast<int>(row))) {
    item->setSelected(true);
  }
}

void QtOptions::Close() {
  // The window is destroyed once control is back in the event loop.
  closing_ = true;
  close();
}

}  // namespace veilbox
