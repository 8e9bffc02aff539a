#include "gui/win32/Win32Dialogue.h"

#include <windows.h>

#include <shellapi.h>

#include "gui/win32/FolderChooser.h"
#include "platform/win32/WideText.h"

namespace veilbox::win32 {
namespace {

UINT IconStyle(Icon icon) {
  switch (icon) {
    case Icon::Information:
      return MB_ICONINFORMATION;
    case Icon::Question:
      return MB_ICONQUESTION;
    case Icon::Exclamation:
      return MB_ICONEXCLAMATION;
    case Icon::Critical:
      return MB_ICONERROR;
    case Icon::None:
      break;
  }
  return 0;
}

UINT ButtonStyle(Buttons buttons) {
  switch (buttons) {
    case Buttons::OK:
      return MB_OK;
    case Buttons::OKCancel:
      return MB_OKCANCEL;
    case Buttons::YesNo:
      return MB_YESNO;
    case Buttons::YesNoCancel:
      break;
  }
  return MB_YESNOCANCEL;
}

Answer FromId(int id) {
  switch (id) {
    case IDOK:
      return Answer::OK;
    case IDYES:
      return Answer::Yes;
    case IDNO:
      return Answer::No;
    default:
      return Answer::Cancel;  // Cancel, Escape, the close box, or no box at all
  }
}

// Boxes belong to the window the user is working in; during start-up there
// is none, and the box comes to the front on its own.
HWND Owner() {
  return GetActiveWindow();
}

}  // namespace

Answer Win32Dialogue::Show(const Wording& box) {
  // The first button (OK or Yes) is the default, as in every box of the
  // system. MessageBoxW shows text as it is: no markup, no access keys.
  const UINT style = IconStyle(box.icon) | ButtonStyle(box.buttons) | MB_DEFBUTTON1 |
                     MB_SETFOREGROUND | MB_TASKMODAL;
  return FromId(MessageBoxW(Owner(), Widen(box.text).c_str(), Widen(box.title).c_str(), style));
}

std::string Win32Dialogue::ChooseFolder(FolderChoice choice, const std::string& start) {
  return ChooseFolderPath(Owner(), TitleOf(choice), start);
}

void Win32Dialogue::OpenAddress(const std::string& address) {
  ShellExecuteW(Owner(), L"open", Widen(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Win32Dialogue::PumpEvents() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0,
                      PM_REMOVE | PM_QS_PAINT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE)) {
    if (msg.message == WM_QUIT) {
      // The end of the program belongs to the main loop: put it back.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace veilbox::win32
