// frmMain's controls and menus, laid out after the design's positions: the
// list on top, the Folders and Status frames below it, then the Lock/Unlock
// button beside the progress bar, and the status bar along the bottom.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/Twips.h"
#include "gui/qt/QtMain.h"
#include "store/FolderRecord.h"

namespace veilbox {
namespace {

QPushButton* Button(const char* caption, const char* name, int width_twips, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setMinimumSize(Twips(width_twips), Twips(375));
  button->setAutoDefault(false);
  return button;
}

// A frame whose controls sit in one row, 120 twips in from its left edge.
QHBoxLayout* FrameRow(QGroupBox* frame) {
  auto* row = new QHBoxLayout(frame);
  row->setContentsMargins(Twips(120), Twips(120), Twips(120), Twips(120));
  row->setSpacing(Twips(105));
  return row;
}

}  // namespace

void QtMain::BuildControls() {
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(Twips(120), Twips(120), Twips(120), Twips(45));
  column->setSpacing(Twips(105));

  lstFolders = new QTreeWidget(central);
  lstFolders->setObjectName("lstFolders");
  lstFolders->setHeaderLabels({"Folder", "Folder path", "Status", "Encrypted"});
  lstFolders->setRootIsDecorated(false);
  lstFolders->setUniformRowHeights(true);
  lstFolders->setMinimumSize(Twips(4000), Twips(1500));
  lstFolders->setColumnWidth(0, Twips(3000));
  lstFolders->setColumnWidth(1, Twips(6800));
  lstFolders->setColumnWidth(2, Twips(1500));
  lstFolders->header()->setStretchLastSection(true);
  column->addWidget(lstFolders, 1);

  auto* frames = new QHBoxLayout;
  frames->setSpacing(Twips(105));
  fraAction = new QGroupBox("Folders:", central);
  fraAction->setObjectName("fraAction");
  QHBoxLayout* action_row = FrameRow(fraAction);
  cmdAdd = Button("Add", "cmdAdd", 1215, fraAction);
  cmdRemove = Button("Remove", "cmdRemove", 1215, fraAction);
  action_row->addWidget(cmdAdd);
  action_row->addWidget(cmdRemove);
  frames->addWidget(fraAction);

  fraStatus = new QGroupBox("Status", central);
  fraStatus->setObjectName("fraStatus");
  QHBoxLayout* status_row = FrameRow(fraStatus);
  lblStatus = new QLabel("Change status:", fraStatus);
  lblStatus->setObjectName("lblStatus");
  lblStatus->setMinimumWidth(Twips(1095));
  cmbStatus = new QComboBox(fraStatus);
  cmbStatus->setObjectName("cmbStatus");
  cmbStatus->addItems({kHidden, kVisible});
  cmbStatus->setCurrentIndex(-1);  // a drop-down list starts with no choice
  cmbStatus->setMinimumWidth(Twips(2415));
  chkEncrypt = new QCheckBox("Encrypt filenames", fraStatus);
  chkEncrypt->setObjectName("chkEncrypt");
  chkEncrypt->setMinimumWidth(Twips(2175));
  status_row->addWidget(lblStatus);
  status_row->addWidget(cmbStatus);
  status_row->addSpacing(Twips(240));
  status_row->addWidget(chkEncrypt);
  status_row->addStretch(1);
  frames->addWidget(fraStatus, 1);
  column->addLayout(frames);

  auto* bottom = new QHBoxLayout;
  bottom->setSpacing(Twips(105));
  cmdUnlockFolder = Button("Unlock folder", "cmdUnlockFolder", 1575, central);
  pbBar = new QProgressBar(central);
  pbBar->setObjectName("pbBar");
  pbBar->setRange(0, 100);
  pbBar->setValue(0);
  pbBar->setTextVisible(false);
  pbBar->setMinimumHeight(Twips(375));
  bottom->addWidget(cmdUnlockFolder);
  bottom->addWidget(pbBar, 1);
  column->addLayout(bottom);

  setCentralWidget(central);
  statusBar()->setObjectName("Status");
  statusBar()->setMinimumHeight(Twips(375));
}

void QtMain::BuildMenus() {
  QMenuBar* bar = menuBar();
  mnuFile = bar->addMenu("&File");
  mnuLockFolder = mnuFile->addAction("&Lock folder");
  mnuUnlockFolder = mnuFile->addAction("&Unlock folder");
  mnuFile->addSeparator();
  mnuExit = mnuFile->addAction("E&xit");

  mnuFolders = bar->addMenu("Fo&lders");
  mnuAdd = mnuFolders->addAction("&Add");
  mnuRemove = mnuFolders->addAction("&Remove");

  mnuStatus = bar->addMenu("&Status");
  mnuHidden = mnuStatus->addAction("&Hidden");
  mnuVisible = mnuStatus->addAction("&Visible");
  mnuStatus->addSeparator();
  mnuEncryptfilenames = mnuStatus->addAction("&Encrypt filenames");
  mnuEncryptfilenames->setCheckable(true);

  mnuOptions = bar->addMenu("&Options");
  mnuPreferences = mnuOptions->addAction("&Preferences");

  mnuAbout = bar->addMenu("&About");
  mnuAboutVeilbox = mnuAbout->addAction("About &Veilbox");
}

void QtMain::ConnectHandlers() {
  frmMain* logic = &logic_;
  connect(cmdUnlockFolder, &QPushButton::clicked, this,
          [logic] { logic->cmdUnlockFolder_Click(); });
  connect(mnuLockFolder, &QAction::triggered, this, [logic] { logic->cmdUnlockFolder_Click(); });
  connect(mnuUnlockFolder, &QAction::triggered, this, [logic] { logic->cmdUnlockFolder_Click(); });
  connect(mnuExit, &QAction::triggered, this, [logic] { logic->mnuExit_Click(); });
  connect(cmdAdd, &QPushButton::clicked, this, [logic] { logic->cmdAdd_Click(); });
  connect(mnuAdd, &QAction::triggered, this, [logic] { logic->cmdAdd_Click(); });
  connect(cmdRemove, &QPushButton::clicked, this, [logic] { logic->cmdRemove_Click(); });
  connect(mnuRemove, &QAction::triggered, this, [logic] { logic->cmdRemove_Click(); });
  connect(cmbStatus, &QComboBox::activated, this, [logic] { logic->cmbStatus_Click(); });
  connect(mnuHidden, &QAction::triggered, this, [logic] { logic->mnuHidden_Click(); });
  connect(mnuVisible, &QAction::triggered, this, [logic] { logic->mnuVisible_Click(); });
  connect(mnuEncryptfilenames, &QAction::triggered, this,
          [logic] { logic->mnuEncryptfilenames_Click(); });
  connect(mnuPreferences, &QAction::triggered, this, [logic] { logic->mnuPreferences_Click(); });
  connect(mnuAboutVeilbox, &QAction::triggered, this, [logic] { logic->mnuAboutVeilbox_Click(); });
  connect(chkEncrypt, &QCheckBox::clicked, this, [logic] { logic->chkEncrypt_Click(); });
  // A tick changes a row's data; a click may also land beside the boxes.
  connect(lstFolders, &QTreeWidget::itemChanged, this, [logic] { logic->lstFolders_Click(); });
  connect(lstFolders, &QTreeWidget::itemClicked, this, [logic] { logic->lstFolders_Click(); });
}

}  // namespace veilbox
