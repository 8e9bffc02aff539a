// The engine's tests: a started session in its home (HomeTest), with helpers
// to add folders and tick rows the way the list does.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "crypto/cEncrypt.h"
#include "store/FolderDatabase.h"
#include "support/HomeTest.h"

namespace veilbox::testing {

namespace fs = std::filesystem;
using Kind = RowOutcome::Kind;

// The permission bits of a path, not following a link.
inline unsigned ModeOf(const fs::path& p) {
  struct stat st;
  return ::lstat(p.c_str(), &st) == 0 ? st.st_mode & 0777 : 01000;
}

// A name of exactly bytes bytes: unit ("n", "ж", "界") repeated, "x" after.
inline std::string NameOf(size_t bytes, const std::string& unit) {
  std::string name;
  while (name.size() + unit.size() <= bytes) name += unit;
  return name + std::string(bytes - name.size(), 'x');
}

// Every file below folder, links and side files included.
inline size_t FilesIn(const fs::path& folder) {
  size_t n = 0;
  for (const auto& e : fs::recursive_directory_iterator(folder)) n += !e.is_directory();
  return n;
}

class EngineTest : public HomeTest {
 protected:
  EngineTest() { StartSession(); }

  // A folder of the user's with the given files (relative path → content).
  fs::path MakeFolder(const std::string& relative,
                      std::initializer_list<std::pair<std::string, std::string>> files = {}) {
    fs::path folder = home.MakeFolder(relative);
    for (const auto& [name, content] : files) WriteText(folder / name, content);
    return folder;
  }

  void Add(const fs::path& folder) {
    dialogue.Folders({folder.string()});
    ASSERT_TRUE(session.Add(1).AllDone()) << folder;
    rows = session.Rows();
  }

  // The places in the list of the rows of the named folders.
  std::vector<size_t> Ticked(std::initializer_list<std::string> names) const {
    std::vector<size_t> ticked;
    for (size_t i = 0; i < rows.size(); ++i) {
      for (const auto& n : names) {
        if (rows[i].folder == n) {
          ticked.push_back(i);
          break;
        }
      }
    }
    return ticked;
  }

  // Hides ("Hidden") or restores the named rows.
  CommandResult Change(const std::string& status, std::initializer_list<std::string> names,
                       bool encrypt = false) {
    CommandResult r =
        status == kHidden ? session.Hide(Ticked(names), encrypt) : session.Restore(Ticked(names));
    rows = session.Rows();
    return r;
  }
  CommandResult Remove(std::initializer_list<std::string> names) {
    CommandResult r = session.Remove(Ticked(names));
    rows = session.Rows();
    return r;
  }

  // The list as it is on disk now.
  const std::vector<ListRow>& Reload() {
    session.ReadList();
    return rows = session.Rows();
  }
  std::string Database() const { return ReadText(session.data_file); }
  std::string Cipher(const std::string& name) const {
    return cEncrypt().Encrypt(name, session.key_text);
  }
  // The list of store folders ("a*b*"), taken up as at a new start.
  void UseStores(const std::string& list) {
    SetSetting("VeilboxHideFolderPath", list);
    StartSession();
  }

  const fs::path store = home.ProgramFolder() / "Data";
  std::vector<ListRow> rows;
};

}  // namespace veilbox::testing
