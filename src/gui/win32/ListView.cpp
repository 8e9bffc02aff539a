#include "gui/win32/ListView.h"

#include "platform/win32/WideText.h"

namespace veilbox::win32 {
namespace {

// A width in dialog units as pixels of the list's window.
int Pixels(HWND list, int width) {
  RECT rect = {0, 0, width, 0};
  MapDialogRect(GetParent(list), &rect);
  return rect.right;
}

// Stretches the last column to the list's right edge (or to its caption's
// width, when that is wider).
void FillWidth(HWND list) {
  const int last = Header_GetItemCount(ListView_GetHeader(list)) - 1;
  if (last >= 0) ListView_SetColumnWidth(list, last, LVSCW_AUTOSIZE_USEHEADER);
}

}  // namespace

void SetUpList(HWND list, std::initializer_list<Column> columns, bool check_boxes) {
  DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP;
  if (check_boxes) extended |= LVS_EX_CHECKBOXES;
  ListView_SetExtendedListViewStyle(list, extended);
  int index = 0;
  for (const Column& column : columns) {
    LVCOLUMNW lvc = {};
    lvc.mask = LVCF_TEXT | LVCF_WIDTH;
    lvc.pszText = const_cast<wchar_t*>(column.caption);
    lvc.cx = Pixels(list, column.width);
    SendMessageW(list, LVM_INSERTCOLUMNW, index++, reinterpret_cast<LPARAM>(&lvc));
  }
  FillWidth(list);
}

void FillRows(HWND list, const std::vector<std::vector<std::string>>& rows) {
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(list);
  int index = 0;
  for (const std::vector<std::string>& row : rows) {
    for (size_t column = 0; column < row.size(); ++column) {
      std::wstring text = Widen(row[column]);
      LVITEMW item = {};
      item.mask = LVIF_TEXT;
      item.iItem = index;
      item.iSubItem = static_cast<int>(column);
      item.pszText = text.data();
      SendMessageW(list, column == 0 ? LVM_INSERTITEMW : LVM_SETITEMW, 0,
                   reinterpret_cast<LPARAM>(&item));
    }
    ++index;
  }
  FillWidth(list);  // a scroll bar may have come or gone
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

int RowCount(HWND list) {
  return ListView_GetItemCount(list);
}

std::string CellText(HWND list, int row, int column) {
  std::wstring text(1024, L'\0');
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = text.data();
  item.cchTextMax = static_cast<int>(text.size());
  const LRESULT length = SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  text.resize(static_cast<size_t>(length));
  return Narrow(text);
}

bool Ticked(HWND list, int row) {
  return ListView_GetCheckState(list, row) != 0;
}

void SetTicked(HWND list, int row, bool ticked) {
  ListView_SetCheckState(list, row, ticked);
}

std::optional<size_t> SelectedRow(HWND list) {
  const int row = ListView_GetNextItem(list, -1, LVNI_SELECTED);
  if (row < 0) return std::nullopt;
  return static_cast<size_t>(row);
}

void SelectRow(HWND list, int row) {
  ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(list, row, FALSE);
}

bool TickChanged(const NMLISTVIEW& change) {
  return (change.uChanged & LVIF_STATE) &&
         ((change.uOldState ^ change.uNewState) & LVIS_STATEIMAGEMASK);
}

bool SelectionChanged(const NMLISTVIEW& change) {
  return (change.uChanged & LVIF_STATE) && ((change.uOldState ^ change.uNewState) & LVIS_SELECTED);
}

}  // namespace veilbox::win32
