// The two stages of FormLoadatStartup and the password dialog's OK rules,
// without the windows: each says what the front end shows or does next.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "store/FolderRecord.h"

namespace veilbox {

struct StartStage {
  enum class Next {
    EndProgram,      // the agreement was declined, or a newer version must be installed
    OpenLogin,       // stage 1: CreatePassword or EnterPassword says the mode
    OpenMainWindow,  // stage 2: after the right password
  };
  Next next = Next::EndProgram;
  std::string caption;                       // OpenMainWindow: "Veilbox 1.04"
  std::optional<std::vector<ListRow>> rows;  // OpenMainWindow: the database's rows
};

// Runs StartUp, then stage 1 while DonePassword is false (telling a first-time
// user to create a password) and stage 2 once it is true (finishing first a
// row that a stopped run left half done).
StartStage RunStartStage(AppState& state);

enum class LoginResult {
  Stay,             // the dialog stays as it is
  WrongPassword,    // the dialog stays with its field emptied
  PasswordCreated,  // the program ends after the restart notice
  Accepted,         // DonePassword is set: on to stage 2
};

constexpr const char* kRestartText = "Please restart the application.";
constexpr const char* kRestartTitle = "Restart";

// The password dialog's OK with the typed text, in the mode the state's flags
// give.
LoginResult LoginOK(AppState& state, const std::string& typed);

}  // namespace veilbox
