// The user's terminal, when there is one: standard error shows the prompts
// and the controlling terminal (/dev/tty; on Windows the console's input,
// CONIN$) gives the answers, so that standard input stays free for
// --password-stdin. posix/ and win32/ hold the two implementations.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace veilbox::cli {

class Terminal {
 public:
  // Interactive only when standard error is a terminal and the terminal's
  // input opens.
  Terminal();
  ~Terminal();
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  bool Interactive() const { return input_ != -1; }

  // Writes prompt to standard error and reads one line, without its line
  // end; nullopt when not interactive or at the end of input. Without echo
  // the typed text is not shown (echo comes back even on Ctrl-C).
  std::optional<std::string> ReadLine(const std::string& prompt, bool echo = true);

 private:
  std::optional<std::string> ReadRawLine();

  // A file descriptor, or on Windows a console handle; -1 when there is none.
  std::intptr_t input_ = -1;
};

}  // namespace veilbox::cli
