// What the engine's commands work on and what they give back.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/FolderRecord.h"

namespace veilbox {

// A row of the folder list with its tick, as a front end hands it over.
struct FolderRow {
  std::string folder;  // the folder's name (the row's text)
  std::string path;    // its parent, ending in the separator
  bool ticked = false;
};

// The rows of a freshly loaded list, none ticked.
std::vector<FolderRow> UntickedRows(const std::vector<ListRow>& rows);

// The outcome of a command over rows.
struct CommandResult {
  int done = 0;      // rows changed, or already as wanted
  int declined = 0;  // rows the user declined or that were skipped
  int failed = 0;    // rows whose move or write failed (the user was told)
  // The rows the list shows after the command; nullopt when the list keeps
  // what it shows (nothing was saved and reloaded).
  std::optional<std::vector<ListRow>> rows;

  bool AllDone() const { return declined == 0 && failed == 0; }
};

}  // namespace veilbox
