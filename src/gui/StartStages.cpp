#include "gui/StartStages.h"

#include "app/Constants.h"
#include "app/Password.h"

namespace veilbox {

StartStage RunStartStage(Session& session, bool password_right) {
  StartStage stage;
  if (session.Start() != StartUpResult::Continue) return stage;
  if (!password_right) {
    if (!session.HasPassword()) {
      session.dialogue.Tell("This is your first time using this product, please enter a password.",
                            kPasswordTitle);
      stage.mode = LoginMode::Create;
    }
    stage.next = StartStage::Next::OpenLogin;
    return stage;
  }
  stage.next = StartStage::Next::OpenMainWindow;
  stage.caption = std::string(kAppname) + " " + kCurrentVersion;
  session.Open();
  return stage;
}

LoginResult LoginOK(Session& session, LoginMode mode, const std::string& typed) {
  if (typed.empty()) {
    session.dialogue.Tell(kEnterPasswordText, kPasswordTitle);
    return LoginResult::Stay;
  }
  if (mode == LoginMode::Create) {
    if (std::optional<std::string> refusal = NewPasswordRefusal(typed)) {
      session.dialogue.Tell(*refusal, kPasswordTitle);
      return LoginResult::Stay;
    }
    if (session.dialogue.Ask(ask::ConfirmPassword{typed}) != Answer::Yes) {
      return LoginResult::Stay;
    }
    // A failed write has been reported; the user may try again.
    return session.CreatePassword(typed) ? LoginResult::PasswordCreated : LoginResult::Stay;
  }
  return session.LogIn(typed) ? LoginResult::Accepted : LoginResult::WrongPassword;
}

}  // namespace veilbox
