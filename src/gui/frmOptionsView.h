// What the preferences window's logic (frmOptions) asks of a toolkit's
// preferences window: the two-column list lstFoldersPath (drive key, store
// folder), Add, Edit, Remove, OK and Cancel (Cancel takes Escape and the close
// box).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "engine/StorePreferences.h"

namespace veilbox {

enum class OptionsControl { cmdEdit, cmdRemove };

class frmOptionsView {
 public:
  virtual ~frmOptionsView() = default;

  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetEnabled(OptionsControl control, bool enabled) = 0;

  // Replaces the rows, none selected. A drive key wider than its column is
  // shown elided in the middle, its full text as the row's tooltip.
  virtual void FillList(const std::vector<StoreRow>& rows) = 0;
  // The selected row, if any; selecting one runs no handler.
  virtual std::optional<size_t> SelectedRow() const = 0;
  virtual void SelectRow(size_t row) = 0;

  // Closes and destroys the window; its logic goes with it.
  virtual void Close() = 0;
};

}  // namespace veilbox
