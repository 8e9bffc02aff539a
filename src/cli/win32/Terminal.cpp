// The terminal on Windows: the console. Prompts go to standard error when
// it is a console; answers are read from the console's input (CONIN$) as
// UTF-16 and handed on as UTF-8.
#include <windows.h>

#include "cli/Terminal.h"
#include "platform/win32/WideText.h"

namespace veilbox::cli {
namespace {

// The console's input mode while echo is off, for the handler that puts it
// back before Ctrl-C ends the program: a console keeps its mode after the
// program is gone.
HANDLE g_echo_input = INVALID_HANDLE_VALUE;
DWORD g_saved_mode = 0;

BOOL WINAPI RestoreEcho(DWORD) {
  SetConsoleMode(g_echo_input, g_saved_mode);
  return FALSE;  // the next handler, in the end the system's, ends the program
}

HANDLE InputOf(std::intptr_t input) {
  return reinterpret_cast<HANDLE>(input);
}

}  // namespace

Terminal::EchoOff::EchoOff(std::intptr_t input) {
  if (!GetConsoleMode(InputOf(input), &g_saved_mode)) return;
  g_echo_input = InputOf(input);
  SetConsoleCtrlHandler(RestoreEcho, TRUE);
  SetConsoleMode(g_echo_input, g_saved_mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
}

Terminal::EchoOff::~EchoOff() {
  if (g_echo_input == INVALID_HANDLE_VALUE) return;
  SetConsoleMode(g_echo_input, g_saved_mode);
  SetConsoleCtrlHandler(RestoreEcho, FALSE);
  g_echo_input = INVALID_HANDLE_VALUE;
}

Terminal::Terminal() {
  DWORD mode = 0;
  if (!GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode)) return;
  HANDLE input =
      CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (input != INVALID_HANDLE_VALUE) input_ = reinterpret_cast<std::intptr_t>(input);
}

Terminal::~Terminal() {
  if (Interactive()) CloseHandle(InputOf(input_));
}

std::optional<std::string> Terminal::ReadRawLine() {
  std::wstring line;
  for (;;) {
    wchar_t c = 0;
    DWORD n = 0;
    if (!ReadConsoleW(InputOf(input_), &c, 1, &n, nullptr) || n == 0) return std::nullopt;
    if (c == L'\n') break;
    if (c != L'\r') line += c;
  }
  return win32::Narrow(line);
}

}  // namespace veilbox::cli
