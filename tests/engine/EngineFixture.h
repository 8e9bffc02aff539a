// A started program in a private temporary home, with the scripted dialogue
// and helpers to add folders and tick rows the way the list does.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "app/FolderData.h"
#include "app/Settings.h"
#include "app/StartUp.h"
#include "crypto/cEncrypt.h"
#include "engine/AddRemove.h"
#include "engine/StatusChange.h"
#include "store/FolderDatabase.h"
#include "support/ScriptedDialogue.h"
#include "support/TempHome.h"
#include "support/TwoDrivePlatform.h"

namespace veilbox::testing {

namespace fs = std::filesystem;

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

class EngineTest : public ::testing::Test {
 protected:
  EngineTest() : platform(home.Root() / "driveB"), state(platform, dialogue) {
    SaveString(state, SettingsRoot::CurrentUser, "SOFTWARE\\TK", "VeilboxFirstTime", "No");
    StartUp(state);
    store = home.ProgramFolder() / "Data";
  }

  // A folder of the user's with the given files (relative path → content).
  fs::path MakeFolder(const std::string& relative,
                      std::initializer_list<std::pair<std::string, std::string>> files = {}) {
    fs::path folder = home.MakeFolder(relative);
    for (const auto& [name, content] : files) WriteText(folder / name, content);
    return folder;
  }

  void Add(const fs::path& folder) {
    dialogue.Folders({folder.string()});
    CommandResult r = AddFolder(state);
    ASSERT_EQ(r.done, 1) << folder;
    rows = *r.rows;
  }

  // The list's rows with the named folders ticked.
  std::vector<FolderRow> Ticked(std::initializer_list<std::string> names) const {
    std::vector<FolderRow> ticked = UntickedRows(rows);
    for (auto& row : ticked) {
      for (const auto& n : names) row.ticked = row.ticked || row.folder == n;
    }
    return ticked;
  }

  CommandResult Change(const std::string& status, std::initializer_list<std::string> names,
                       bool encrypt = false) {
    CommandResult r = ChangeStatus(state, status, Ticked(names), encrypt);
    if (r.rows) rows = *r.rows;
    return r;
  }

  std::string Database() const { return ReadText(state.SrcDataFilename); }
  std::string Cipher(const std::string& name) const {
    return cEncrypt().Encrypt(name, state.EncryptDecryptKey);
  }
  // The list of store folders ("a*b*"), taken up as at a new start.
  void UseStores(const std::string& list) {
    SaveString(state, SettingsRoot::CurrentUser, "SOFTWARE\\TK", "VeilboxHideFolderPath", list);
    StartUp(state);
  }

  TempHome home;
  ScriptedDialogue dialogue;
  TwoDrivePlatform platform;
  AppState state;
  fs::path store;
  std::vector<ListRow> rows;
};

}  // namespace veilbox::testing
