#include "gui/win32/DialogWindow.h"

#include <algorithm>
#include <stdexcept>

#include "gui/win32/ResourceIds.h"
#include "platform/win32/WideText.h"

namespace veilbox::win32 {
namespace {

// Puts window in the middle of owner, kept inside the work area of the
// screen that shows owner.
void CenterOn(HWND window, HWND owner) {
  RECT around, own;
  GetWindowRect(owner, &around);
  GetWindowRect(window, &own);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  const int width = own.right - own.left, height = own.bottom - own.top;
  const int x = std::clamp<int>((around.left + around.right - width) / 2, work.left,
                                std::max<int>(work.left, work.right - width));
  const int y = std::clamp<int>((around.top + around.bottom - height) / 2, work.top,
                                std::max<int>(work.top, work.bottom - height));
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

DialogWindow::~DialogWindow() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, DWLP_USER, 0);  // no message reaches the half-destroyed object
    DestroyWindow(hwnd_);
  }
}

void DialogWindow::Create(int template_id, HWND owner) {
  hwnd_ = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(template_id), owner,
                             &DialogWindow::Procedure, reinterpret_cast<LPARAM>(this));
  if (!hwnd_) throw std::runtime_error("the window could not be created");
  if (owner) CenterOn(hwnd_, owner);
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(ProgramIcon(SM_CXICON)));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(ProgramIcon(SM_CXSMICON)));
}

INT_PTR CALLBACK DialogWindow::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(hwnd, DWLP_USER, lparam);
    reinterpret_cast<DialogWindow*>(lparam)->hwnd_ = hwnd;
    return TRUE;  // the first control with a tab stop takes the focus
  }
  auto* window = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (!window) return FALSE;
  switch (message) {
    case WM_COMMAND:
      window->OnCommand(LOWORD(wparam), HIWORD(wparam));
      return TRUE;
    case WM_NOTIFY:
      window->OnNotify(*reinterpret_cast<const NMHDR*>(lparam));
      return TRUE;
    case WM_CLOSE:
      window->OnClose();
      return TRUE;
    case WM_SETCURSOR:
      if (HCURSOR cursor = window->Cursor()) {
        SetCursor(cursor);
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      return FALSE;
    case WM_NCDESTROY:
      window->hwnd_ = nullptr;
      return FALSE;
    default:
      return window->OnMessage(message, wparam, lparam) ? TRUE : FALSE;
  }
}

std::string TextOf(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
  return Narrow(text);
}

void SetText(HWND hwnd, const std::string& text) {
  SetWindowTextW(hwnd, Widen(text).c_str());
}

HICON ProgramIcon(int metric) {
  const int size = GetSystemMetrics(metric);
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VEILBOX),
                                       IMAGE_ICON, size, size, LR_SHARED));
}

}  // namespace veilbox::win32
