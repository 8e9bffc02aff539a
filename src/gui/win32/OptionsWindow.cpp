#include "gui/win32/OptionsWindow.h"

#include "gui/win32/ListView.h"
#include "gui/win32/MainWindow.h"
#include "gui/win32/ResourceIds.h"
#include "platform/win32/WideText.h"

namespace veilbox::win32 {

OptionsWindow::OptionsWindow(MainWindow& main) : main_(main) {
  Create(IDD_OPTIONS, main.Handle());
  SetUpList(Item(IDC_LSTFOLDERSPATH), {{L"Drive", 54}, {L"Path", 205}}, false);
  logic_ = std::make_unique<frmOptions>(*this, main_.Logic());
  logic_->Form_Load();
}

OptionsWindow::~OptionsWindow() = default;

void OptionsWindow::Show() {
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
}

void OptionsWindow::SetCaption(const std::string& caption) {
  SetText(Handle(), caption);
}

void OptionsWindow::SetEnabled(OptionsControl control, bool enabled) {
  EnableWindow(Item(control == OptionsControl::cmdEdit ? IDC_OPTEDIT : IDC_OPTREMOVE), enabled);
}

void OptionsWindow::FillList(const std::vector<StoreRow>& rows) {
  std::vector<std::vector<std::string>> texts;
  for (const StoreRow& row : rows) texts.push_back({row.drive, row.path});
  filling_ = true;
  FillRows(Item(IDC_LSTFOLDERSPATH), texts);
  filling_ = false;
}

std::optional<size_t> OptionsWindow::SelectedRow() const {
  return win32::SelectedRow(Item(IDC_LSTFOLDERSPATH));
}

void OptionsWindow::SelectRow(size_t row) {
  filling_ = true;
  win32::SelectRow(Item(IDC_LSTFOLDERSPATH), static_cast<int>(row));
  filling_ = false;
}

void OptionsWindow::Close() {
  ShowWindow(Handle(), SW_HIDE);
  main_.Release(this);
}

void OptionsWindow::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case IDC_OPTADD:
      logic_->cmdAdd_Click();
      return;
    case IDC_OPTEDIT:
      logic_->cmdEdit_Click();
      return;
    case IDC_OPTREMOVE:
      logic_->cmdRemove_Click();
      return;
    case IDC_OPTOK:
      logic_->cmdOK_Click();
      return;
    case IDCANCEL:
      logic_->cmdCancel_Click();
      return;
    default:
      return;  // Enter (IDOK) presses no button here
  }
}

void OptionsWindow::OnNotify(const NMHDR& header) {
  if (header.idFrom != IDC_LSTFOLDERSPATH) return;
  if (header.code == LVN_GETINFOTIPW) {
    // The cell's whole text, for a path wider than its column.
    auto& tip = const_cast<NMLVGETINFOTIPW&>(reinterpret_cast<const NMLVGETINFOTIPW&>(header));
    const std::wstring drive = Widen(CellText(header.hwndFrom, tip.iItem, 0));
    const std::wstring path = Widen(CellText(header.hwndFrom, tip.iItem, 1));
    lstrcpynW(tip.pszText, (drive + L"  " + path).c_str(), tip.cchTextMax);
    return;
  }
  if (filling_ || header.code != LVN_ITEMCHANGED) return;
  if (SelectionChanged(reinterpret_cast<const NMLISTVIEW&>(header))) {
    logic_->lstFoldersPath_Click();
  }
}

void OptionsWindow::OnClose() {
  logic_->cmdCancel_Click();
}

HCURSOR OptionsWindow::Cursor() const {
  return main_.Busy() ? LoadCursorW(nullptr, IDC_WAIT) : nullptr;
}

}  // namespace veilbox::win32
