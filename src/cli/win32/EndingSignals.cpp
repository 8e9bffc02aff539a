// Ctrl-C and Ctrl-Break are noted instead of ending the program, and end it
// when they are let through again. (Closing the console window cannot be
// held back for long on Windows.)
#include <windows.h>

#include <atomic>
#include <cstdlib>

#include "cli/EndingSignals.h"

namespace veilbox::cli {
namespace {

std::atomic<bool> g_stop_requested{false};

BOOL WINAPI NoteStop(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  g_stop_requested = true;
  return TRUE;
}

}  // namespace

struct EndingSignalsHeld::Saved {};

EndingSignalsHeld::EndingSignalsHeld() : saved_(std::make_unique<Saved>()) {
  g_stop_requested = false;
  SetConsoleCtrlHandler(NoteStop, TRUE);
}

EndingSignalsHeld::~EndingSignalsHeld() {
  Release();
}

void EndingSignalsHeld::Release() {
  if (!saved_) return;
  SetConsoleCtrlHandler(NoteStop, FALSE);
  saved_.reset();
  if (g_stop_requested) std::_Exit(static_cast<int>(STATUS_CONTROL_C_EXIT));
}

}  // namespace veilbox::cli
