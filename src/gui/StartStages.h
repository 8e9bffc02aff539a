// The two stages of FormLoadatStartup and the password dialog's OK rules,
// without the windows: each says what the front end shows or does next.
#pragma once

#include <string>

#include "app/Session.h"

namespace veilbox {

enum class LoginMode { Create, Enter };

struct StartStage {
  enum class Next {
    EndProgram,      // the agreement was declined, or a newer version must be installed
    OpenLogin,       // stage 1: mode says whether a password is created or entered
    OpenMainWindow,  // stage 2: after the right password; Rows() holds the list
  };
  Next next = Next::EndProgram;
  LoginMode mode = LoginMode::Enter;
  std::string caption;  // OpenMainWindow: "Veilbox 1.04"
};

// Starts the session, then stage 1 until the password was right (telling a
// first-time user to create a password) and stage 2 after it (opening the
// session: a row that a stopped run left half done is finished first).
StartStage RunStartStage(Session& session, bool password_right);

enum class LoginResult {
  Stay,             // the dialog stays as it is
  WrongPassword,    // the dialog stays with its field emptied
  PasswordCreated,  // the program ends after the restart notice
  Accepted,         // the password is right: on to stage 2
};

constexpr const char* kRestartText = "Please restart the application.";
constexpr const char* kRestartTitle = "Restart";

// The password dialog's OK with the typed text, in mode.
LoginResult LoginOK(Session& session, LoginMode mode, const std::string& typed);

}  // namespace veilbox
