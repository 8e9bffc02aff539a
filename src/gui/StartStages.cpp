#include "gui/StartStages.h"

#include "app/FolderData.h"
#include "app/Password.h"
#include "app/StartUp.h"
#include "engine/CommandScope.h"
#include "engine/Journal.h"
#include "engine/Recovery.h"
#include "engine/UnlockMarker.h"

namespace veilbox {
namespace {

// Store folders that a stopped run left unlocked are locked, and a row it
// left half done is finished, before the list shows and before any command.
// The row's store folders are opened for the work and locked again after
// it, as the window opens in the locked state.
void FinishInterruptedRow(AppState& state) {
  Trap(state.reporter, [&] {
    CommandScope scope(state);
    RelockAfterStoppedRun(state);
    if (!state.platform.FileExists(JournalPath(state))) return;
    UnlockStoreFoldersForAWhile(state);
    RecoverInterruptedRow(state);
    LockStoreFoldersAgain(state);
  });
}

}  // namespace

StartStage RunStartStage(AppState& state) {
  StartStage stage;
  if (StartUp(state) != StartUpResult::Continue) return stage;
  if (!state.DonePassword) {
    if (HasPassword(state)) {
      state.EnterPassword = true;
    } else {
      state.dialogue.Tell("This is your first time using this product, please enter a password.",
                          kPasswordTitle);
      state.CreatePassword = true;
    }
    stage.next = StartStage::Next::OpenLogin;
    return stage;
  }
  stage.next = StartStage::Next::OpenMainWindow;
  stage.caption = state.Appname + " " + state.CurrentVersion;
  state.FileArray = {""};
  state.FolderArray = {""};
  FinishInterruptedRow(state);
  stage.rows = LoadDataFile(state);
  return stage;
}

LoginResult LoginOK(AppState& state, const std::string& typed) {
  if (typed.empty()) {
    state.dialogue.Tell(kEnterPasswordText, kPasswordTitle);
    return LoginResult::Stay;
  }
  if (state.CreatePassword) {
    if (std::optional<std::string> refusal = NewPasswordRefusal(typed)) {
      state.dialogue.Tell(*refusal, kPasswordTitle);
      return LoginResult::Stay;
    }
    if (state.dialogue.Ask(ask::ConfirmPassword{typed}) != Answer::Yes) {
      return LoginResult::Stay;
    }
    // A failed write has been reported; the user may try again.
    return StorePassword(state, typed) ? LoginResult::PasswordCreated : LoginResult::Stay;
  }
  switch (CheckPassword(state, typed)) {
    case PasswordCheck::Right:
      state.DonePassword = true;
      return LoginResult::Accepted;
    case PasswordCheck::Wrong:
      state.dialogue.Tell("Incorrect password, please try again.", kPasswordTitle);
      break;
    case PasswordCheck::Damaged:
      state.dialogue.Tell(kDamagedPasswordText, kPasswordTitle, Icon::Exclamation);
      break;
  }
  return LoginResult::WrongPassword;
}

}  // namespace veilbox
