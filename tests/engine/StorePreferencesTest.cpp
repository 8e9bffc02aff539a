#include "engine/StorePreferences.h"

#include <gtest/gtest.h>

#include "NativePlatform.h"
#include "app/Constants.h"
#include "app/Settings.h"
#include "diag/Failure.h"
#include "support/ScriptedDialogue.h"
#include "support/TempHome.h"

namespace veilbox::testing {

bool operator==(const ShownBox& a, const ShownBox& b) {
  return a.text == b.text && a.title == b.title && a.icon == b.icon && a.buttons == b.buttons;
}

void PrintTo(const ShownBox& box, std::ostream* out) {
  *out << box.title << ": " << box.text;
}

}  // namespace veilbox::testing

namespace veilbox {

void PrintTo(const StoreRow& row, std::ostream* out) {
  *out << row.drive << " " << row.path;
}

namespace {

using testing::ScriptedDialogue;
using testing::ShownBox;

// Drives named by a letter, as on Windows, at the top of a full path: the
// first four characters ("/E:/"); the program folder is the temporary
// home's. Of the lettered folders only the drives and /E:/Hidden exist, as
// the user's own folders: every other one chosen is new.
class LetterDrivePlatform : public NativePlatform {
 public:
  std::string DriveKey(const std::string& path) override { return path.substr(0, 4); }
  FolderFacts InspectFolder(const std::string& path) override {
    if (path.size() < 3 || path[2] != ':') return NativePlatform::InspectFolder(path);
    FolderFacts facts;
    facts.exists = path.size() <= 4 || path == "/E:/Hidden";
    facts.kind = EntryKind::Directory;
    return facts;
  }
  void WriteSetting(SettingsRoot root, const std::string& key_path, const std::string& name,
                    const std::string& data, Where where) override {
    if (refuse_writes) Raise(err::kPermissionDenied, "Permission denied", where);
    NativePlatform::WriteSetting(root, key_path, name, data, where);
  }
  bool refuse_writes = false;
};

ShownBox Notice(const std::string& text) {
  return {text, "Folder", Icon::Information, Buttons::OK};
}

class StorePreferencesTest : public ::testing::Test {
 protected:
  StorePreferencesTest() : session_(platform_, dialogue_) {}

  StorePreferences Open(const std::string& list) {
    session_.stores = StoreList::Parse(list);
    return StorePreferences(session_);
  }

  std::string StoredList() {
    return GetString(session_, SettingsRoot::CurrentUser, kMainKey,
                     std::string(kAppname) + kHideFolderPathSuffix);
  }

  testing::TempHome home_;
  LetterDrivePlatform platform_;
  ScriptedDialogue dialogue_;
  Session session_;
  const std::vector<ListRow> no_rows_;
};

TEST_F(StorePreferencesTest, LoadsOneRowPerEntryAndAddsOneStoreFolderPerDrive) {
  // An entry whose "*" was lost still counts; an empty entry names no folder.
  EXPECT_TRUE(Open("").Rows().empty());
  StorePreferences prefs = Open("/C:/Store**/E:/Hidden");
  EXPECT_EQ(prefs.Rows(), (std::vector<StoreRow>{{"/C:/", "/C:/Store"}, {"/E:/", "/E:/Hidden"}}));
  // Drive keys differing in letter case are different drives.
  dialogue_.Folders({"/E:/Other", "/e:/Other", "/D:/New"});
  EXPECT_FALSE(prefs.Add(no_rows_));
  EXPECT_TRUE(prefs.Add(no_rows_));
  EXPECT_TRUE(prefs.Add(no_rows_));
  EXPECT_EQ(dialogue_.boxes,
            (std::vector<ShownBox>{Notice("/E:/ already has a hidden/locked folder on it.")}));
  EXPECT_EQ(dialogue_.chooser_titles, (std::vector<std::string>(3, "Select Folder...")));
  EXPECT_EQ(prefs.ListText(), "/C:/Store*/E:/Hidden*/e:/Other*/D:/New*");
}

// Edit keeps its row's drive, may stay within the old folder, and opens the
// chooser at the row's folder; a drive holding listed folders is told before any chooser; Remove
// needs Yes; without a row, or with a cancelled chooser, nothing changes silently.
TEST_F(StorePreferencesTest, EditAndRemoveKeepToTheirRowsDrive) {
  StorePreferences prefs = Open("/C:/Store*/E:/Hidden*");
  const std::vector<ListRow> main_rows{{"Plans", "/E:/Work/", kVisible, kNormal}};
  const std::string in_use =
      "/E:/ is being used. Please remove items from the main list using /E:/";
  EXPECT_FALSE(prefs.Edit(1, main_rows));
  EXPECT_FALSE(prefs.Remove(1, main_rows));
  EXPECT_TRUE(dialogue_.chooser_titles.empty());
  dialogue_.Folders({"/D:/X", "/E:/Hidden/Inner"});
  EXPECT_FALSE(prefs.Edit(1, no_rows_));
  EXPECT_TRUE(prefs.Edit(1, no_rows_));
  EXPECT_FALSE(prefs.Edit(1, no_rows_));  // a cancelled chooser
  EXPECT_EQ(dialogue_.chooser_starts,
            (std::vector<std::string>{"/E:/Hidden", "/E:/Hidden", "/E:/Hidden/Inner"}));
  EXPECT_EQ(prefs.ListText(), "/C:/Store*/E:/Hidden/Inner*");
  EXPECT_FALSE(prefs.Edit(std::nullopt, no_rows_));
  EXPECT_FALSE(prefs.Remove(std::nullopt, no_rows_));
  EXPECT_FALSE(prefs.Remove(2, no_rows_));  // past the last row, as after a removal
  dialogue_.Answers({Answer::No, Answer::Cancel, Answer::Yes});
  for (bool removed : {false, false, true}) EXPECT_EQ(prefs.Remove(1, no_rows_), removed);
  const ShownBox question{"Are you sure you wish to remove /E:/Hidden/Inner from the list?",
                          "Remove", Icon::Question, Buttons::YesNoCancel};
  EXPECT_EQ(dialogue_.boxes,
            (std::vector<ShownBox>{Notice(in_use + " before editing this folder."),
                                   Notice(in_use + " before removing this folder."),
                                   Notice("Please select a folder on /E:/"), question, question,
                                   question}));
  EXPECT_EQ(prefs.ListText(), "/C:/Store*");
}

TEST_F(StorePreferencesTest, OnlyASuccessfulSaveChangesTheStateAndTheSettings) {
  StorePreferences prefs = Open("/C:/Store*/E:/Hidden*");
  dialogue_.Answers({Answer::Yes, Answer::Yes, Answer::Yes});
  ASSERT_TRUE(prefs.Remove(0, no_rows_));
  EXPECT_EQ(session_.stores.Text(), "/C:/Store*/E:/Hidden*");
  EXPECT_EQ(StoredList(), "");
  // A failed write is reported and leaves the old list in force everywhere,
  // the edited rows kept for another try.
  platform_.refuse_writes = true;
  EXPECT_FALSE(prefs.Save());
  EXPECT_EQ(dialogue_.boxes.back().title, "Error");
  EXPECT_EQ(session_.stores.Text(), "/C:/Store*/E:/Hidden*");
  EXPECT_EQ(StoredList(), "");
  EXPECT_EQ(prefs.ListText(), "/E:/Hidden*");
  platform_.refuse_writes = false;
  EXPECT_TRUE(prefs.Save());
  EXPECT_EQ(StoredList(), "/E:/Hidden*");
  // With every row removed the list becomes empty text.
  ASSERT_TRUE(prefs.Remove(0, no_rows_));
  EXPECT_TRUE(prefs.Save());
  EXPECT_EQ(session_.stores.Text(), "");
  EXPECT_EQ(StoredList(), "");
}

TEST_F(StorePreferencesTest, RefusesFoldersItCannotKeepOrThatOverlap) {
  StorePreferences prefs = Open("/E:/Hidden*");
  const std::string program = home_.ProgramFolder().string();
  const std::string home = home_.Root().string();
  testing::SetEnvironment("HOME", "/home/someone");  // so that home holds only the program
  const std::vector<ListRow> main_rows{{"Plans", "/D:/Work/", kVisible, kNormal}};
  dialogue_.Folders({"/D:/a<b", program, home, "/D:/Work", "/D:/Work/Plans", "/D:/Work/Plans/Old",
                     program + "/Data"});
  for (int i = 0; i < 6; ++i) EXPECT_FALSE(prefs.Add(main_rows)) << i;
  const std::string again = " Please select another folder.";
  EXPECT_EQ(
      dialogue_.boxes,
      (std::vector<ShownBox>{
          Notice("\"/D:/a<b\" contains \"<\" or \"*\", which Veilbox cannot keep in its "
                 "list; rename it first." +
                 again),
          Notice(program + " is the program folder." + again),
          Notice(home + " contains the program folder " + program + "." + again),
          Notice("/D:/Work contains the listed folder /D:/Work/Plans." + again),
          Notice("/D:/Work/Plans is the listed folder." + again),
          Notice("/D:/Work/Plans/Old lies inside the listed folder /D:/Work/Plans." + again)}));
  EXPECT_EQ(prefs.ListText(), "/E:/Hidden*");
  // The default place, inside the program folder, is allowed.
  EXPECT_TRUE(prefs.Add(main_rows));
  EXPECT_EQ(prefs.ListText(), "/E:/Hidden*" + program + "/Data*");
}

}  // namespace
}  // namespace veilbox
