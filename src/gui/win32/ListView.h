// The report-view list controls of the windows: columns, rows of texts,
// the check box of a row, and the selected row.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace veilbox::win32 {

struct Column {
  const wchar_t* caption;
  int width;  // dialog units
};

// Sets the columns of a report view, whole-row selection and, when wanted,
// a check box on every row. The last column fills the rest of the list's
// width, now and whenever FillRows changes the rows.
void SetUpList(HWND list, std::initializer_list<Column> columns, bool check_boxes);

// Replaces the rows; each row's texts go to the columns in order. No row is
// ticked or selected afterwards.
void FillRows(HWND list, const std::vector<std::vector<std::string>>& rows);

int RowCount(HWND list);
std::string CellText(HWND list, int row, int column);

bool Ticked(HWND list, int row);
void SetTicked(HWND list, int row, bool ticked);

std::optional<size_t> SelectedRow(HWND list);
void SelectRow(HWND list, int row);

// Whether a LVN_ITEMCHANGED notification says the row's tick or its
// selection changed.
bool TickChanged(const NMLISTVIEW& change);
bool SelectionChanged(const NMLISTVIEW& change);

}  // namespace veilbox::win32
