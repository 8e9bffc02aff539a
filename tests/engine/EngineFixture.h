// The engine's tests: a started session in its home, rows ticked as the list does.
#pragma once

#include <gmock/gmock.h>

#include <algorithm>
#include <map>

#include "crypto/cEncrypt.h"
#include "engine/Check.h"
#include "engine/Journal.h"
#include "engine/Recovery.h"
#include "store/FolderDatabase.h"
#include "support/HomeTest.h"

namespace veilbox::testing {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using Names = std::initializer_list<std::string>;
using Files = std::map<std::string, std::string>;  // relative path → content

inline unsigned ModeOf(const fs::path& p) {
  return static_cast<unsigned>(fs::symlink_status(p).permissions() & fs::perms::mask);
}

// A name of exactly bytes bytes: unit ("n", "ж", "界") repeated, "x" after.
inline std::string NameOf(size_t bytes, const std::string& unit) {
  std::string name;
  while (name.size() + unit.size() <= bytes) name += unit;
  return name + std::string(bytes - name.size(), 'x');
}

inline size_t FilesIn(const fs::path& folder) {
  return std::count_if(fs::recursive_directory_iterator(folder), {},
                       [](const fs::directory_entry& e) { return !e.is_directory(); });
}

class EngineTest : public HomeTest {
 protected:
  EngineTest() { StartSession(); }

  fs::path MakeFolder(const std::string& relative, const Files& files = {}) {
    fs::path folder = home.MakeFolder(relative);
    for (const auto& [name, content] : files) WriteText(folder / name, content);
    return folder;
  }
  // Adds the folders as the user picks them in the chooser.
  void Add(std::initializer_list<fs::path> folders) {
    for (const fs::path& folder : folders) dialogue.Folders({folder.string()});
    ASSERT_TRUE(session.Add(static_cast<int>(folders.size())).AllDone());
    rows = session.Rows();
  }
  CommandResult Hide(Names names, bool encrypt = false) {
    return Shown(session.Hide(Ticked(names), encrypt));
  }
  CommandResult Restore(Names names) { return Shown(session.Restore(Ticked(names))); }
  CommandResult Remove(Names names) { return Shown(session.Remove(Ticked(names))); }
  std::vector<size_t> Ticked(Names names) const {
    std::vector<size_t> ticked;
    for (size_t i = 0; i < rows.size(); ++i)
      if (std::ranges::find(names, rows[i].folder) != names.end()) ticked.push_back(i);
    return ticked;
  }
  CommandResult Shown(const CommandResult& result) { return rows = session.Rows(), result; }
  // Each row's outcome in order: Done, Already so, No (declined), Refused, Failed.
  static std::string Kinds(const CommandResult& result) {
    std::string kinds;
    for (const RowOutcome& row : result.rows) kinds += "DANRF"[static_cast<int>(row.kind)];
    return kinds;
  }
  // Every row's status, as "Hidden Visible".
  std::string Statuses() const {
    std::string all;
    for (const ListRow& row : rows) all += (all.empty() ? "" : " ") + row.status;
    return all;
  }
  const std::vector<ListRow>& Reload() { return session.ReadList(), rows = session.Rows(); }

  std::string Database() const { return ReadText(session.data_file); }
  // The record of folder: state as "Hidden<Encrypted", stored name its own by default.
  static std::string Record(const fs::path& folder, const std::string& state = "Visible<Normal",
                            const std::string& stored = "") {
    const std::string name = folder.filename(), in_store = stored.empty() ? name : stored;
    return name + "<" + folder.parent_path().string() + "/<" + state + "<" + in_store + "*";
  }
  std::string Cipher(const std::string& n) const { return cEncrypt().Encrypt(n, session.key_text); }
  std::string Said() const { return dialogue.boxes.empty() ? "" : dialogue.boxes.back().text; }
  // The store-folder list ("a*b*"), taken up as at a new start.
  void UseStores(const std::string& s) { SetSetting("VeilboxHideFolderPath", s), StartSession(); }

  const fs::path store = home.ProgramFolder() / "Data";
  std::vector<ListRow> rows;
};

}  // namespace veilbox::testing
