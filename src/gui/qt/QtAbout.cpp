#include "gui/qt/QtAbout.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/SysInfo.h"
#include "gui/Twips.h"

namespace veilbox {
namespace {

QLabel* Label(const QString& text, const char* name, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setWordWrap(true);
  return label;
}

QFrame* Line(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

}  // namespace

QtAbout::QtAbout(frmMain& main, QWidget* parent) : QDialog(parent), logic_(*this, main) {
  setObjectName("frmAbout");
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowIcon(parent->windowIcon());

  picIcon = new QLabel(this);
  picIcon->setObjectName("picIcon");
  picIcon->setPixmap(QPixmap(":/veilbox/veilbox.png"));
  picIcon->setAlignment(Qt::AlignTop);
  lblTitle = Label({}, "lblTitle", this);
  QFont title_font = lblTitle->font();
  title_font.setPointSizeF(title_font.pointSizeF() * 1.5);
  title_font.setBold(true);
  lblTitle->setFont(title_font);
  lblVersion = Label({}, "lblVersion", this);
  lblDescription = Label("Will hide/lock and encrpyt folders", "lblDescription", this);
  lblDisclaimer = Label("Warning: Use this program at your own risk. ", "lblDisclaimer", this);
  Label1 =
      Label("Visit the Tollmark Inc web site for updates and other applications.", "Label1", this);
  cmdOK = new QPushButton("OK", this);
  cmdOK->setObjectName("cmdOK");
  cmdOK->setDefault(true);  // Enter; Escape closes through reject
  cmdSysInfo = new QPushButton("&System Info...", this);
  cmdSysInfo->setObjectName("cmdSysInfo");
  cmdSysInfo->setAutoDefault(false);
  for (QPushButton* b : {cmdOK, cmdSysInfo}) b->setMinimumSize(Twips(1260), Twips(345));

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(Twips(240), Twips(240), Twips(240), Twips(240));
  grid->setColumnStretch(1, 1);
  grid->addWidget(picIcon, 0, 0, 3, 1);
  grid->addWidget(lblTitle, 0, 1, 1, 2);
  grid->addWidget(lblVersion, 1, 1, 1, 2);
  grid->addWidget(lblDescription, 2, 1, 1, 2);
  grid->addWidget(Line(this), 3, 0, 1, 3);
  grid->addWidget(lblDisclaimer, 4, 0, 1, 2);
  grid->addWidget(Label1, 5, 0, 1, 2);
  grid->addWidget(Line(this), 6, 0, 1, 3);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdSysInfo);
  grid->addLayout(buttons, 4, 2, 2, 1, Qt::AlignTop);
  resize(QSize(Twips(5730), Twips(3420)).expandedTo(sizeHint()));

  connect(cmdOK, &QPushButton::clicked, this, [this] { logic_.cmdOK_Click(); });
  connect(cmdSysInfo, &QPushButton::clicked, this, [this] { logic_.cmdSysInfo_Click(); });
  logic_.Form_Load();
}

void QtAbout::reject() {
  if (closing_) {
    QDialog::reject();
  } else {
    logic_.cmdOK_Click();
  }
}

void QtAbout::SetCaption(const std::string& caption) {
  setWindowTitle(QString::fromStdString(caption));
}

void QtAbout::SetText(AboutControl control, const std::string& text) {
  (control == AboutControl::lblTitle ? lblTitle : lblVersion)
      ->setText(QString::fromStdString(text));
}

bool QtAbout::StartSystemInfo() {
  const std::optional<std::string> program =
      FindSystemInfoProgram(qEnvironmentVariable("PATH").toStdString());
  return program && QProcess::startDetached(QString::fromStdString(*program), {});
}

void QtAbout::Close() {
  // The window is destroyed once control is back in the event loop.
  closing_ = true;
  close();
}

}  // namespace veilbox
