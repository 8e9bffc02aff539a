#include "cli/Login.h"

#include "app/Password.h"
#include "cli/ExitCode.h"
#include "cli/Note.h"
#include "cli/PasswordInput.h"

namespace veilbox::cli {
namespace {

constexpr const char* kRunInitFirst = "run veilbox-cli init first";

}  // namespace

int RunInit(Session& session, const Options& options, Terminal& terminal) {
  switch (session.Start(VersionCheck::Skip)) {
    case StartUpResult::Continue:
      break;
    case StartUpResult::EndProgram:
      Note("the agreement was not accepted; no password was stored");
      return kLockedOut;
    case StartUpResult::Refused:
      return kLockedOut;
  }
  if (session.HasPassword()) {
    Note("a password already exists; init changed nothing");
    return kNotAllDone;
  }
  PasswordInput input = ReadPassword(options.password_stdin, terminal, /*new_password=*/true);
  if (!input.password) {
    Note(input.problem + "; no password was stored");
    return kLockedOut;
  }
  if (std::optional<std::string> refusal = NewPasswordRefusal(*input.password)) {
    session.dialogue.Tell(*refusal, kPasswordTitle);
    return kLockedOut;
  }
  if (!session.CreatePassword(*input.password)) return kNotAllDone;
  Note("the password is stored");
  return kAllDone;
}

std::optional<int> PassGate(Session& session, const Options& options, Terminal& terminal) {
  if (!session.PlacesTrusted()) return kLockedOut;
  if (!session.AgreementAccepted()) {
    Note(std::string("the agreement has not been accepted yet: ") + kRunInitFirst);
    return kLockedOut;
  }
  if (session.Start(VersionCheck::Skip) != StartUpResult::Continue) return kLockedOut;
  if (!session.HasPassword()) {
    Note(std::string("no password has been created yet: ") + kRunInitFirst);
    return kLockedOut;
  }
  PasswordInput input = ReadPassword(options.password_stdin, terminal, /*new_password=*/false);
  if (!input.password) {
    Note(input.problem);
    return kLockedOut;
  }
  if (!session.LogIn(*input.password)) return kLockedOut;
  return std::nullopt;
}

}  // namespace veilbox::cli
