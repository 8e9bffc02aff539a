#include "gui/win32/AboutWindow.h"

#include <shellapi.h>

#include "gui/win32/MainWindow.h"
#include "gui/win32/ResourceIds.h"
#include "platform/win32/SystemInfo.h"
#include "platform/win32/WideText.h"

namespace veilbox::win32 {
namespace {

// The dialog's font, half as large again and bold.
HFONT TitleFont(HWND dialog) {
  LOGFONTW font = {};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
  font.lfHeight = font.lfHeight * 3 / 2;
  font.lfWeight = FW_BOLD;
  return CreateFontIndirectW(&font);
}

}  // namespace

AboutWindow::AboutWindow(MainWindow& main) : main_(main) {
  Create(IDD_ABOUT, main.Handle());
  title_font_ = TitleFont(Handle());
  SendMessageW(Item(IDC_LBLTITLE), WM_SETFONT, reinterpret_cast<WPARAM>(title_font_), FALSE);
  logic_ = std::make_unique<frmAbout>(*this, main_.Logic());
  logic_->Form_Load();
}

AboutWindow::~AboutWindow() {
  logic_.reset();
  SendMessageW(Item(IDC_LBLTITLE), WM_SETFONT, 0, FALSE);
  DeleteObject(title_font_);
}

void AboutWindow::Show() {
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
}

void AboutWindow::SetCaption(const std::string& caption) {
  win32::SetText(Handle(), caption);
}

void AboutWindow::SetText(AboutControl control, const std::string& text) {
  win32::SetText(Item(control == AboutControl::lblTitle ? IDC_LBLTITLE : IDC_LBLVERSION), text);
}

bool AboutWindow::StartSystemInfo() {
  const std::optional<std::string> program = SystemInfoProgram();
  if (!program) return false;
  // A new process with a normal, focused window; not waited for.
  const HINSTANCE started =
      ShellExecuteW(Handle(), L"open", Widen(*program).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(started) > 32;
}

void AboutWindow::Close() {
  ShowWindow(Handle(), SW_HIDE);
  main_.Release(this);
}

void AboutWindow::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  if (id == IDOK || id == IDCANCEL) logic_->cmdOK_Click();
  if (id == IDC_CMDSYSINFO) logic_->cmdSysInfo_Click();
}

void AboutWindow::OnClose() {
  logic_->cmdOK_Click();
}

}  // namespace veilbox::win32
