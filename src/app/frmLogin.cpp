#include "app/frmLogin.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/StartStages.h"
#include "app/Twips.h"

namespace veilbox {

frmLogin::frmLogin(AppState& state, CommandGate& gate, std::function<void()> right_password,
                   std::function<void()> end_program)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      state_(state),
      gate_(gate),
      right_password_(std::move(right_password)),
      end_program_(std::move(end_program)) {
  setObjectName("frmLogin");
  setWindowTitle("Login");
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

  connect(cmdOK, &QPushButton::clicked, this, [this] { gate_.Run([this] { cmdOK_Click(); }); });
  connect(cmdCancel, &QPushButton::clicked, this,
          [this] { gate_.Run([this] { cmdCancel_Click(); }); });
}

void frmLogin::reject() {
  gate_.Run([this] { cmdCancel_Click(); });
}

void frmLogin::cmdOK_Click() {
  switch (LoginOK(state_, txtPassword->text().toStdString())) {
    case LoginResult::Stay:
      return;
    case LoginResult::WrongPassword:
      txtPassword->clear();
      return;
    case LoginResult::PasswordCreated:
      hide();
      state_.dialogue.Tell(kRestartText, kRestartTitle);
      end_program_();
      return;
    case LoginResult::Accepted:
      right_password_();
      hide();
      return;
  }
}

void frmLogin::cmdCancel_Click() {
  end_program_();
}

}  // namespace veilbox
