// The program's message loop. Keys go first to the dialog they were typed
// in (IsDialogMessage): Tab moves between controls, Enter presses the
// default button, Escape the Cancel button, Alt with an access key its
// control.
#pragma once

#include <windows.h>

namespace veilbox::win32 {

// Whether the message was a key that the dialog holding its window took.
bool RouteDialogKeys(MSG& msg);

// Runs until PostQuitMessage; returns its exit code.
int RunMessageLoop();

}  // namespace veilbox::win32
