#include "cli/Terminal.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <iterator>

namespace veilbox::cli {
namespace {

// The terminal's settings while echo is off, for the signal handler that
// puts them back before the signal ends the program.
int g_echo_fd = -1;
termios g_saved_mode;
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
using Handler = void (*)(int);
Handler g_old_handlers[std::size(kEndingSignals)] = {};

void RestoreEchoAndDie(int signal_number) {
  tcsetattr(g_echo_fd, TCSANOW, &g_saved_mode);
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

}  // namespace

Terminal::EchoOff::EchoOff(std::intptr_t input) {
  const int fd = static_cast<int>(input);
  if (tcgetattr(fd, &g_saved_mode) != 0) return;
  g_echo_fd = fd;
  for (size_t i = 0; i < std::size(kEndingSignals); ++i) {
    g_old_handlers[i] = std::signal(kEndingSignals[i], RestoreEchoAndDie);
  }
  termios quiet = g_saved_mode;
  quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
  tcsetattr(fd, TCSAFLUSH, &quiet);
}

Terminal::EchoOff::~EchoOff() {
  if (g_echo_fd < 0) return;
  tcsetattr(g_echo_fd, TCSANOW, &g_saved_mode);
  for (size_t i = 0; i < std::size(kEndingSignals); ++i) {
    std::signal(kEndingSignals[i], g_old_handlers[i]);
  }
  g_echo_fd = -1;
}

Terminal::Terminal() {
  if (isatty(STDERR_FILENO)) input_ = open("/dev/tty", O_RDWR | O_CLOEXEC);
}

Terminal::~Terminal() {
  if (input_ >= 0) close(static_cast<int>(input_));
}

std::optional<std::string> Terminal::ReadRawLine() {
  std::string line;
  char c;
  for (;;) {
    const ssize_t n = read(static_cast<int>(input_), &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return std::nullopt;
    if (c == '\n') return line;
    line += c;
  }
}

}  // namespace veilbox::cli
