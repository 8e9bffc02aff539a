#include "gui/win32/MainWindow.h"

#include <algorithm>
#include <climits>

#include "gui/win32/AboutWindow.h"
#include "gui/win32/ListView.h"
#include "gui/win32/LoginWindow.h"
#include "gui/win32/OptionsWindow.h"
#include "gui/win32/ResourceIds.h"
#include "platform/win32/WideText.h"

namespace veilbox::win32 {
namespace {

// The timer that destroys the windows that closed themselves.
constexpr UINT_PTR kReleaseTimer = 1;

struct Target {
  MainControl control;
  int id;
  bool menu;
};

constexpr Target kTargets[] = {
    {MainControl::lstFolders, IDC_LSTFOLDERS, false},
    {MainControl::fraAction, IDC_FRAACTION, false},
    {MainControl::cmdAdd, IDC_CMDADD, false},
    {MainControl::cmdRemove, IDC_CMDREMOVE, false},
    {MainControl::fraStatus, IDC_FRASTATUS, false},
    {MainControl::lblStatus, IDC_LBLSTATUS, false},
    {MainControl::cmbStatus, IDC_CMBSTATUS, false},
    {MainControl::chkEncrypt, IDC_CHKENCRYPT, false},
    {MainControl::cmdUnlockFolder, IDC_CMDUNLOCKFOLDER, false},
    {MainControl::mnuLockFolder, IDM_LOCKFOLDER, true},
    {MainControl::mnuUnlockFolder, IDM_UNLOCKFOLDER, true},
    {MainControl::mnuAdd, IDM_ADD, true},
    {MainControl::mnuRemove, IDM_REMOVE, true},
    {MainControl::mnuHidden, IDM_HIDDEN, true},
    {MainControl::mnuVisible, IDM_VISIBLE, true},
    {MainControl::mnuEncryptfilenames, IDM_ENCRYPTFILENAMES, true},
    {MainControl::mnuPreferences, IDM_PREFERENCES, true},
};

const wchar_t* const kStatusItems[] = {L"Hidden", L"Visible"};

}  // namespace

MainWindow::MainWindow(Session& session, MainWindowDialogue& dialogue,
                       std::function<void()> end_program)
    : end_program_(std::move(end_program)) {
  Create(IDD_MAIN, nullptr);
  SetUpList(Item(IDC_LSTFOLDERS),
            {{L"Folder", 133}, {L"Folder path", 302}, {L"Status", 67}, {L"Encrypted", 90}}, true);
  for (const wchar_t* text : kStatusItems) {
    SendMessageW(Item(IDC_CMBSTATUS), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  SetProgress(0, 0);
  logic_ = std::make_unique<frmMain>(*this, session, dialogue);
}

MainWindow::~MainWindow() {
  // The other windows' logic refers to this window's logic: they go first.
  closed_.clear();
  login_.reset();
  options_.reset();
  about_.reset();
  logic_.reset();
}

void MainWindow::SetCaption(const std::string& caption) {
  SetText(Handle(), caption);
}

void MainWindow::SetLockButtonCaption(const std::string& caption) {
  SetText(Item(IDC_CMDUNLOCKFOLDER), caption);
}

void MainWindow::SetEnabled(MainControl control, bool enabled) {
  for (const Target& target : kTargets) {
    if (target.control != control) continue;
    if (target.menu) {
      EnableMenuItem(GetMenu(Handle()), target.id,
                     MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    } else {
      EnableWindow(Item(target.id), enabled);
    }
  }
}

void MainWindow::FillList(const std::vector<ListRow>& rows) {
  std::vector<std::vector<std::string>> texts;
  texts.reserve(rows.size());
  for (const ListRow& row : rows) {
    texts.push_back({row.folder, row.path, row.status, row.encryption});
  }
  filling_ = true;
  FillRows(Item(IDC_LSTFOLDERS), texts);
  filling_ = false;
}

std::vector<bool> MainWindow::Ticks() const {
  HWND list = Item(IDC_LSTFOLDERS);
  std::vector<bool> ticks;
  for (int row = 0; row < RowCount(list); ++row) ticks.push_back(Ticked(list, row));
  return ticks;
}

void MainWindow::ClearTicks() {
  HWND list = Item(IDC_LSTFOLDERS);
  filling_ = true;
  for (int row = 0; row < RowCount(list); ++row) SetTicked(list, row, false);
  filling_ = false;
}

std::string MainWindow::StatusChoice() const {
  return TextOf(Item(IDC_CMBSTATUS));
}

void MainWindow::SetStatusChoice(const std::string& text) {
  // CB_SELECTSTRING would take a prefix; the choice must match whole.
  const LRESULT index = SendMessageW(Item(IDC_CMBSTATUS), CB_FINDSTRINGEXACT, -1,
                                     reinterpret_cast<LPARAM>(Widen(text).c_str()));
  SendMessageW(Item(IDC_CMBSTATUS), CB_SETCURSEL, index == CB_ERR ? -1 : index, 0);
}

bool MainWindow::EncryptTicked() const {
  return SendMessageW(Item(IDC_CHKENCRYPT), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindow::SetEncryptTicked(bool ticked) {
  SendMessageW(Item(IDC_CHKENCRYPT), BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void MainWindow::SetEncryptMenuChecked(bool checked) {
  CheckMenuItem(GetMenu(Handle()), IDM_ENCRYPTFILENAMES,
                MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void MainWindow::SetProgress(long value, long maximum) {
  // The bar counts in int; an empty bar (maximum 0) keeps a range of 100.
  const int top = static_cast<int>(std::clamp<long>(maximum, 0, INT_MAX));
  HWND bar = Item(IDC_PBBAR);
  SendMessageW(bar, PBM_SETRANGE32, 0, top > 0 ? top : 100);
  SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(std::clamp<long>(value, 0, top)), 0);
}

void MainWindow::SetStatusLine(const std::string& text) {
  SendMessageW(Item(IDC_STATUS), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

void MainWindow::SetBusy(bool busy) {
  busy_ = busy;
  // At once, not only when the mouse next moves: during a pass, mouse
  // messages wait in the queue.
  SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

HCURSOR MainWindow::Cursor() const {
  return busy_ ? LoadCursorW(nullptr, IDC_WAIT) : nullptr;
}

void MainWindow::SetVisible(bool visible) {
  ShowWindow(Handle(), visible ? SW_SHOW : SW_HIDE);
  if (visible) SetForegroundWindow(Handle());
}

void MainWindow::OpenLogin() {
  login_ = std::make_unique<LoginWindow>(*this);
}

void MainWindow::OpenOptions() {
  if (!options_) options_ = std::make_unique<OptionsWindow>(*this);
  options_->Show();
}

void MainWindow::OpenAbout() {
  if (!about_) about_ = std::make_unique<AboutWindow>(*this);
  about_->Show();
}

void MainWindow::EndProgram() {
  for (DialogWindow* window :
       std::initializer_list<DialogWindow*>{login_.get(), options_.get(), about_.get(), this}) {
    if (window) ShowWindow(window->Handle(), SW_HIDE);
  }
  if (end_program_) end_program_();
}

void MainWindow::Release(const DialogWindow* window) {
  if (options_ && window == options_.get()) closed_.push_back(std::move(options_));
  if (about_ && window == about_.get()) closed_.push_back(std::move(about_));
  SetTimer(Handle(), kReleaseTimer, 10, nullptr);
}

bool MainWindow::OnMessage(UINT message, WPARAM wparam, LPARAM) {
  if (message == WM_ACTIVATE && LOWORD(wparam) != WA_INACTIVE) {
    logic_->Form_Activate();
    return false;
  }
  if (message != WM_TIMER || wparam != kReleaseTimer) return false;
  // Not while a command runs: a pass lets timers run, and the closed
  // window's logic may still be on the stack below it.
  if (logic_->Commands().Busy()) return true;
  KillTimer(Handle(), kReleaseTimer);
  closed_.clear();
  return true;
}

void MainWindow::OnCommand(int id, int code) {
  switch (id) {
    case IDC_CMDUNLOCKFOLDER:
    case IDM_LOCKFOLDER:
    case IDM_UNLOCKFOLDER:
      if (code == BN_CLICKED) logic_->cmdUnlockFolder_Click();
      return;
    case IDC_CMDADD:
    case IDM_ADD:
      if (code == BN_CLICKED) logic_->cmdAdd_Click();
      return;
    case IDC_CMDREMOVE:
    case IDM_REMOVE:
      if (code == BN_CLICKED) logic_->cmdRemove_Click();
      return;
    case IDC_CMBSTATUS:
      if (code == CBN_SELENDOK) logic_->cmbStatus_Click();
      return;
    case IDC_CHKENCRYPT:
      if (code == BN_CLICKED) logic_->chkEncrypt_Click();
      return;
    case IDM_HIDDEN:
      logic_->mnuHidden_Click();
      return;
    case IDM_VISIBLE:
      logic_->mnuVisible_Click();
      return;
    case IDM_ENCRYPTFILENAMES:
      logic_->mnuEncryptfilenames_Click();
      return;
    case IDM_PREFERENCES:
      logic_->mnuPreferences_Click();
      return;
    case IDM_ABOUTVEILBOX:
      logic_->mnuAboutVeilbox_Click();
      return;
    case IDM_EXIT:
      logic_->mnuExit_Click();
      return;
    default:
      return;  // Enter (IDOK) and Escape (IDCANCEL) mean nothing here
  }
}

void MainWindow::OnNotify(const NMHDR& header) {
  if (header.idFrom != IDC_LSTFOLDERS || filling_) return;
  const bool ticked_or_cleared =
      header.code == LVN_ITEMCHANGED && TickChanged(reinterpret_cast<const NMLISTVIEW&>(header));
  if (ticked_or_cleared || header.code == NM_CLICK) logic_->lstFolders_Click();
}

void MainWindow::OnClose() {
  // The logic ends the program, or keeps the window open.
  logic_->Form_QueryUnload();
}

}  // namespace veilbox::win32
