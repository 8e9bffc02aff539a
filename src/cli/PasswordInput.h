// Where a command's password comes from: the first line of standard input
// (--password-stdin), or the terminal without echo.
#pragma once

#include <optional>
#include <string>

#include "cli/Terminal.h"

namespace veilbox::cli {

struct PasswordInput {
  std::optional<std::string> password;
  std::string problem;  // why there is none
};

// A new password is typed twice on a terminal and must match.
PasswordInput ReadPassword(bool from_stdin, Terminal& terminal, bool new_password);

// The first line of standard input without its line end, read byte by byte
// so that nothing after it is consumed; nullopt when the input is empty.
std::optional<std::string> FirstLineOfStdin();

}  // namespace veilbox::cli
