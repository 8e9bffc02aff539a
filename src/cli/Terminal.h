// The user's terminal, when there is one: standard error shows the prompts
// and the controlling terminal (/dev/tty; on Windows the console's input,
// CONIN$) gives the answers, so that standard input stays free for
// --password-stdin. posix/ and win32/ open the terminal, read from it and
// switch its echo; Terminal.cpp holds what both share.
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
  // Turns the terminal's echo off for its lifetime; the platform's signal
  // or console handler puts it back if the program is ended meanwhile.
  class EchoOff {
   public:
    explicit EchoOff(std::intptr_t input);
    ~EchoOff();
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;
  };

  std::optional<std::string> ReadRawLine();

  // A file descriptor, or on Windows a console handle; -1 when there is none.
  std::intptr_t input_ = -1;
};

}  // namespace veilbox::cli
