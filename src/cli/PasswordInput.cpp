#include "cli/PasswordInput.h"

#include <unistd.h>

#include <cerrno>

#include "platform/Codec.h"

namespace veilbox::cli {

PasswordInput ReadPassword(bool from_stdin, Terminal& terminal, bool new_password) {
  if (from_stdin) {
    std::optional<std::string> line = FirstLineOfStdin();
    if (!line) return {std::nullopt, "standard input holds no password"};
    // What scripts write to standard input is in the system's code page.
    return {FromAnsi(*line), ""};
  }
  if (!terminal.Interactive()) {
    return {std::nullopt,
            "a password is needed: give it on standard input with --password-stdin, or run "
            "veilbox-cli on a terminal"};
  }
  std::optional<std::string> typed =
      terminal.ReadLine(new_password ? "New password: " : "Password: ", /*echo=*/false);
  if (!typed) return {std::nullopt, "no password was typed"};
  if (new_password && terminal.ReadLine("Type it again: ", /*echo=*/false) != typed) {
    return {std::nullopt, "the two passwords differ"};
  }
  return {std::move(typed), ""};
}

std::optional<std::string> FirstLineOfStdin() {
  std::string line;
  char c;
  for (;;) {
    const ssize_t n = read(STDIN_FILENO, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return line.empty() ? std::nullopt : std::optional<std::string>(line);
    if (c == '\n') return line;
    line += c;
  }
}

}  // namespace veilbox::cli
