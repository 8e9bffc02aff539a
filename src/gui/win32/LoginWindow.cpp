#include "gui/win32/LoginWindow.h"

#include "gui/win32/MainWindow.h"
#include "gui/win32/ResourceIds.h"

namespace veilbox::win32 {

LoginWindow::LoginWindow(MainWindow& main) : main_(main) {
  Create(IDD_LOGIN, nullptr);
  // The common controls' own mask character is a dot; the window shows "*".
  SendMessageW(Item(IDC_TXTPASSWORD), EM_SETPASSWORDCHAR, L'*', 0);
  logic_ = std::make_unique<frmLogin>(*this, main_.Logic());
  logic_->Form_Load();
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
  SetFocus(Item(IDC_TXTPASSWORD));
}

LoginWindow::~LoginWindow() = default;

void LoginWindow::SetCaption(const std::string& caption) {
  SetText(Handle(), caption);
}

std::string LoginWindow::Password() const {
  return TextOf(Item(IDC_TXTPASSWORD));
}

void LoginWindow::ClearPassword() {
  SetWindowTextW(Item(IDC_TXTPASSWORD), L"");
  SetFocus(Item(IDC_TXTPASSWORD));
}

void LoginWindow::Hide() {
  ShowWindow(Handle(), SW_HIDE);
}

void LoginWindow::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  if (id == IDOK) logic_->cmdOK_Click();
  if (id == IDCANCEL) logic_->cmdCancel_Click();
}

void LoginWindow::OnClose() {
  logic_->cmdCancel_Click();
}

HCURSOR LoginWindow::Cursor() const {
  return main_.Busy() ? LoadCursorW(nullptr, IDC_WAIT) : nullptr;
}

}  // namespace veilbox::win32
