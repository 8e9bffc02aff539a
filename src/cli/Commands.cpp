#include "cli/Commands.h"

#include "cli/CheckCommand.h"
#include "cli/EndingSignals.h"
#include "cli/ExitCode.h"
#include "cli/FolderCommands.h"
#include "cli/FullPath.h"
#include "cli/Login.h"
#include "cli/StoreCommands.h"
#include "cli/Terminal.h"
#include "cli/TerminalDialogue.h"

namespace veilbox::cli {
namespace {

std::optional<std::string> FullPathOf(const std::optional<std::string>& typed) {
  return typed ? std::optional<std::string>(FullPath(*typed)) : std::nullopt;
}

// Opens the session (store folders a stopped run left unlocked are locked,
// a row it left half done is finished) with Ctrl-C held back meanwhile:
// the store folders may be unlocked for that work.
bool Open(Session& session) {
  EndingSignalsHeld held;
  return session.Open();
}

int Dispatch(Session& session, TerminalDialogue& dialogue, const Options& options) {
  const std::string& c = options.command;
  if (c == "list") return ListFolders(session);
  if (c == "add") return AddFolders(session, dialogue, options);
  if (c == "hide" || c == "restore" || c == "remove") return MoveFolders(session, options);
  if (c == "lock" || c == "unlock") return LockStores(session, c == "lock");
  if (c == "check") return CheckCommand(session, options.repair);
  return StoresCommand(session, dialogue, options);
}

}  // namespace

int RunCommand(const Options& options) {
  Terminal terminal;
  TerminalDialogue dialogue(terminal,
                            {options.yes, options.accept_agreement, FullPathOf(options.store_dir),
                             FullPathOf(options.restore_to)});
  std::unique_ptr<Platform> platform = CreatePlatform();
  Session session(*platform, dialogue);

  int code;
  if (options.command == "init") {
    code = RunInit(session, options, terminal);
  } else if (const std::optional<int> refused = PassGate(session, options, terminal)) {
    code = *refused;
  } else {
    const bool opened = Open(session);
    code = Dispatch(session, dialogue, options);
    if (!opened) code = kNotAllDone;
  }
  // A failure the error reporter showed makes the command not all done.
  if (code == kAllDone && dialogue.ErrorReported()) code = kNotAllDone;
  return code;
}

}  // namespace veilbox::cli
