#include "cli/Session.h"

#include "app/Constants.h"
#include "app/Password.h"
#include "app/Settings.h"
#include "app/StartUp.h"
#include "cli/ExitCode.h"
#include "cli/Note.h"
#include "cli/PasswordInput.h"

namespace veilbox::cli {
namespace {

constexpr const char* kRunInitFirst = "run veilbox-cli init first";

bool AgreementAccepted(AppState& state) {
  return !GetString(state, SettingsRoot::CurrentUser, kMainKey,
                    std::string(kAppname) + kFirstTimeSuffix)
              .empty();
}

}  // namespace

int RunInit(AppState& state, const Options& options, Terminal& terminal) {
  switch (StartUp(state, VersionCheck::Skip)) {
    case StartUpResult::Continue:
      break;
    case StartUpResult::EndProgram:
      Note("the agreement was not accepted; no password was stored");
      return kLockedOut;
    case StartUpResult::Refused:
      return kLockedOut;
  }
  if (HasPassword(state)) {
    Note("a password already exists; init changed nothing");
    return kNotAllDone;
  }
  PasswordInput input = ReadPassword(options.password_stdin, terminal, /*new_password=*/true);
  if (!input.password) {
    Note(input.problem + "; no password was stored");
    return kLockedOut;
  }
  if (std::optional<std::string> refusal = NewPasswordRefusal(*input.password)) {
    state.dialogue.Tell(*refusal, kPasswordTitle);
    return kLockedOut;
  }
  if (!StorePassword(state, *input.password)) return kNotAllDone;
  Note("the password is stored");
  return kAllDone;
}

std::optional<int> PassGate(AppState& state, const Options& options, Terminal& terminal) {
  if (!StartPlacesTrusted(state)) return kLockedOut;
  if (!AgreementAccepted(state)) {
    Note(std::string("the agreement has not been accepted yet: ") + kRunInitFirst);
    return kLockedOut;
  }
  if (StartUp(state, VersionCheck::Skip) != StartUpResult::Continue) return kLockedOut;
  if (!HasPassword(state)) {
    Note(std::string("no password has been created yet: ") + kRunInitFirst);
    return kLockedOut;
  }
  PasswordInput input = ReadPassword(options.password_stdin, terminal, /*new_password=*/false);
  if (!input.password) {
    Note(input.problem);
    return kLockedOut;
  }
  switch (CheckPassword(state, *input.password)) {
    case PasswordCheck::Right:
      break;
    case PasswordCheck::Wrong:
      Note("incorrect password");
      return kLockedOut;
    case PasswordCheck::Damaged:
      state.dialogue.Tell(kDamagedPasswordText, kPasswordTitle, Icon::Exclamation);
      return kLockedOut;
  }
  state.DonePassword = true;
  return std::nullopt;
}

}  // namespace veilbox::cli
