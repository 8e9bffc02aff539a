#include "gui/frmLogin.h"

#include "gui/StartStages.h"
#include "gui/frmMain.h"

namespace veilbox {

frmLogin::frmLogin(frmLoginView& view, frmMain& main) : view_(view), main_(main) {}

frmLogin::~frmLogin() {
  main_.Commands().Forget(this);
}

void frmLogin::Form_Load() {
  view_.SetCaption("Login");
}

void frmLogin::cmdOK_Click() {
  main_.Commands().Run(this, [this] { Accept(); });
}

void frmLogin::cmdCancel_Click() {
  main_.Commands().Run(this, [this] { main_.EndProgram(); });
}

void frmLogin::Accept() {
  if (main_.ProgramEnded()) return;
  Session& session = main_.Core();
  switch (LoginOK(session, main_.Login(), view_.Password())) {
    case LoginResult::Stay:
      return;
    case LoginResult::WrongPassword:
      view_.ClearPassword();
      return;
    case LoginResult::PasswordCreated:
      view_.Hide();
      session.dialogue.Tell(kRestartText, kRestartTitle);
      main_.EndProgram();
      return;
    case LoginResult::Accepted:
      main_.LoginAccepted();
      view_.Hide();
      return;
  }
}

}  // namespace veilbox
