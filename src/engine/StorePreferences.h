// The working copy of the store-folder list that the preferences window and
// the command line's "stores" commands edit: one row per drive, checked
// against the folder list, and written back only by Save.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/Session.h"
#include "store/FolderRecord.h"

namespace veilbox {

struct StoreRow {
  std::string drive;  // the drive key of the path
  std::string path;   // the store folder's full path
  bool operator==(const StoreRow&) const = default;
};

class StorePreferences {
 public:
  // Loads the rows from session.stores: one per store folder it names.
  explicit StorePreferences(Session& session);

  const std::vector<StoreRow>& Rows() const { return rows_; }

  // Each returns whether the rows changed. Add and Edit ask for the folder
  // through the dialogue's chooser ("Select Folder...", Edit's opened at the
  // folder it replaces); a cancelled chooser
  // changes nothing silently, and so does Edit or Remove without a row.
  // main_rows are the folder list's rows at the moment of the command: a
  // store folder whose drive holds one of them cannot be edited or removed.
  bool Add(const std::vector<ListRow>& main_rows);
  bool Edit(std::optional<size_t> row, const std::vector<ListRow>& main_rows);
  bool Remove(std::optional<size_t> row, const std::vector<ListRow>& main_rows);

  // The store-folder list the rows make: each path followed by "*".
  std::string ListText() const;
  // OK: stores ListText in the settings and then makes it the session's
  // store-folder list. Returns whether the settings were written; after a
  // failure (reported) the old list stays in force in both.
  bool Save();

 private:
  bool DriveInUse(const std::string& drive, const std::vector<ListRow>& main_rows,
                  const std::string& before_what);
  // Refuses (with a message) a folder the list cannot keep, or one that
  // overlaps the program folder, another store folder or a listed folder.
  bool Refused(const std::string& folder, std::optional<size_t> replacing,
               const std::vector<ListRow>& main_rows);
  bool Valid(std::optional<size_t> row) const { return row && *row < rows_.size(); }

  Session& session_;
  std::vector<StoreRow> rows_;
};

}  // namespace veilbox
