#include "gui/qt/QtLogin.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "gui/Twips.h"

namespace veilbox {

QtLogin::QtLogin(frmMain& main)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      logic_(*this, main) {
  setObjectName("frmLogin");
  setModal(false);

  lblLabels = new QLabel("&Password:", this);
  lblLabels->setObjectName("lblLabels");
  txtPassword = new QLineEdit(this);
  txtPassword->setObjectName("txtPassword");
  txtPassword->setEchoMode(QLineEdit::Password);
  txtPassword->setStyleSheet("lineedit-password-character: 42");  // shown as "*"
  lblLabels->setBuddy(txtPassword);
  cmdOK = new QPushButton("OK", this);
  cmdOK->setObjectName("cmdOK");
  cmdOK->setDefault(true);
  cmdCancel = new QPushButton("Cancel", this);
  cmdCancel->setObjectName("cmdCancel");
  cmdCancel->setAutoDefault(false);
  for (QPushButton* b : {cmdOK, cmdCancel}) b->setMinimumSize(Twips(1140), Twips(390));

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(Twips(105), Twips(150), Twips(105), Twips(150));
  grid->setHorizontalSpacing(Twips(105));
  grid->setVerticalSpacing(Twips(150));
  grid->addWidget(lblLabels, 0, 0);
  grid->addWidget(txtPassword, 0, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdCancel);
  buttons->addStretch(1);
  grid->addLayout(buttons, 1, 0, 1, 2);

  setTabOrder(txtPassword, cmdOK);
  setTabOrder(cmdOK, cmdCancel);
  txtPassword->setFocus();
  resize(QSize(Twips(3750), Twips(1380)).expandedTo(sizeHint()));

  connect(cmdOK, &QPushButton::clicked, this, [this] { logic_.cmdOK_Click(); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { logic_.cmdCancel_Click(); });
  logic_.Form_Load();
}

void QtLogin::reject() {
  logic_.cmdCancel_Click();
}

void QtLogin::SetCaption(const std::string& caption) {
  setWindowTitle(QString::fromStdString(caption));
}

std::string QtLogin::Password() const {
  return txtPassword->text().toStdString();
}

void QtLogin::ClearPassword() {
  txtPassword->clear();
}

void QtLogin::Hide() {
  hide();
}

}  // namespace veilbox
