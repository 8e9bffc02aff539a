#include "cli/Commands.h"

#include "cli/CheckCommand.h"
#include "cli/ExitCode.h"
#include "cli/FolderCommands.h"
#include "cli/FullPath.h"
#include "cli/Session.h"
#include "cli/StoreCommands.h"
#include "cli/StoreUnlock.h"
#include "cli/Terminal.h"
#include "cli/TerminalDialogue.h"
#include "engine/CommandScope.h"
#include "engine/Journal.h"
#include "engine/Recovery.h"
#include "engine/UnlockMarker.h"

namespace veilbox::cli {
namespace {

std::optional<std::string> FullPathOf(const std::optional<std::string>& typed) {
  return typed ? std::optional<std::string>(FullPath(*typed)) : std::nullopt;
}

// Store folders that a stopped run left unlocked are locked, and a row it
// left half done is finished, before anything else, with the store folders
// unlocked while that runs. Both are looked for under the data lock: another
// copy's row in progress is no stopped run.
bool FinishInterruptedRow(AppState& state) {
  CommandScope scope(state);
  RelockAfterStoppedRun(state);
  if (!state.platform.FileExists(JournalPath(state))) return true;
  StoreUnlock unlocked(state);
  RecoverInterruptedRow(state);
  return unlocked.Relock() && unlocked.Unlocked();
}

int Dispatch(AppState& state, TerminalDialogue& dialogue, const Options& options) {
  const std::string& c = options.command;
  if (c == "list") return ListFolders(state);
  if (c == "add") return AddFolders(state, dialogue, options);
  if (c == "hide" || c == "restore" || c == "remove") return MoveFolders(state, options);
  if (c == "lock" || c == "unlock") return LockStores(state, c == "lock");
  if (c == "check") return CheckCommand(state, options.repair);
  return StoresCommand(state, dialogue, options);
}

}  // namespace

int RunCommand(const Options& options) {
  Terminal terminal;
  TerminalDialogue dialogue(terminal,
                            {options.yes, options.accept_agreement, FullPathOf(options.store_dir),
                             FullPathOf(options.restore_to)});
  std::unique_ptr<Platform> platform = CreatePlatform();
  AppState state(*platform, dialogue);

  int code;
  if (options.command == "init") {
    code = RunInit(state, options, terminal);
  } else if (const std::optional<int> refused = PassGate(state, options, terminal)) {
    code = *refused;
  } else {
    const bool recovered = FinishInterruptedRow(state);
    code = Dispatch(state, dialogue, options);
    if (!recovered) code = kNotAllDone;
  }
  // A failure the error reporter showed makes the command not all done.
  if (code == kAllDone && dialogue.ErrorReported()) code = kNotAllDone;
  return code;
}

}  // namespace veilbox::cli
