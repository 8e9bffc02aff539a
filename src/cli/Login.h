// What every command goes through first: the session's start, the first-run
// agreement and the password.
#pragma once

#include <optional>

#include "app/Session.h"
#include "cli/Options.h"
#include "cli/Terminal.h"

namespace veilbox::cli {

// init: asks the agreement, then creates the password. A password that
// already exists is left as it is.
int RunInit(Session& session, const Options& options, Terminal& terminal);

// Every other command: nullopt when it may run, or the exit code when the
// places cannot be trusted, the agreement was never accepted, or the
// password is missing or wrong. Never asks the agreement.
std::optional<int> PassGate(Session& session, const Options& options, Terminal& terminal);

}  // namespace veilbox::cli
