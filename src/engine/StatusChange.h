// cmbStatus_Click: hides or restores every ticked row, then saves and
// reloads the folder list.
#pragma once

#include <string>
#include <vector>

#include "app/AppState.h"
#include "engine/FolderRow.h"

namespace veilbox {

constexpr const char* kStatusHidden = "Hidden";
constexpr const char* kStatusVisible = "Visible";

// status_text "Hidden" runs the hide pass (with encrypted file names when
// should_encrypt), "Visible" the restore pass, anything else no pass. The
// database is written after every row and reloaded at the end.
CommandResult ChangeStatus(AppState& state, const std::string& status_text,
                           const std::vector<FolderRow>& rows, bool should_encrypt);

}  // namespace veilbox
