// Which folders may serve as store folders, and the preferences' list of them.
#include "engine/StorePreferences.h"

#include <unistd.h>

#include "engine/FolderGuards.h"
#include "support/HomeTest.h"

namespace veilbox::testing {

namespace fs = std::filesystem;

using StoreFolderRules = HomeTest;

TEST_F(StoreFolderRules, OnlyARealPrivateFolderOfTheUsersOwnMayServe) {
  const fs::path r = home.Root();
  const std::string own_home = (r / "home").string(), link = (r / "link").string();
  for (const char* made : {"real/sub", "home/Private", "made/temp", "made/Plans"})
    home.MakeFolder(made);
  fs::create_directory_symlink(r / "real", r / "link");
  WriteText(r / "file", "");
  WriteText(home.MakeFolder("full") / "notes", "");
  const std::string not_made = " is not empty, and Veilbox did not make it.";
  std::vector<std::pair<std::string, std::string>> refused{
      {"/", " is the top folder of its drive."},
      {"/usr/share/x", " lies inside the system folder /usr."},
      {"/tmp", " is a system folder."},
      {own_home, " is your home folder."},
      {r.string(), " contains your home folder " + own_home + "."},
      {link, " is a link."},
      {link + "/sub", " lies behind the link " + link + "."},
      {link + "/new", " lies behind the link " + link + "."},
      {(r / "file").string(), " is not a folder."},
      {(r / "full").string(), not_made},
      {(r / "real").string(), not_made},
      {(r / "gone/new").string(),
       " cannot be made: " + (r / "gone").string() + " is not an existing folder."}};
  const fs::path other = home.MakeFolder("other");
  if (::chown(other.c_str(), 12345, 12345) == 0)  // only root may give a folder away
    refused.push_back({other.string(), " belongs to another user."});
  for (const auto& [folder, reason] : refused)
    EXPECT_EQ(StoreFolderProblem(session, folder, {}, {}), folder + reason);
  const std::string odd = "\"" + (r / "a<b").string() + "\" contains \"<\" or \"*\", which ";
  EXPECT_EQ(StoreFolderProblem(session, (r / "a<b").string(), {}, {}),
            odd + "Veilbox cannot keep in its list; rename it first.");
  for (const char* fine : {"new", "real/sub", "made", "home/Private", "/tmp/x"})
    EXPECT_EQ(StoreFolderProblem(session, (r / fine).string(), {}, {}), std::nullopt) << fine;
}

// Drives named by a letter ("/E:/"); of the lettered folders only drives and /E:/Hidden exist.
class LetterDrivePlatform : public TwoDrivePlatform {
 public:
  LetterDrivePlatform() : TwoDrivePlatform("") {}
  std::string DriveKey(const std::string& path) override { return path.substr(0, 4); }
  FolderFacts InspectFolder(const std::string& path) override {
    if (path.size() < 3 || path[2] != ':') return NativePlatform::InspectFolder(path);
    return {path.size() <= 4 || path == "/E:/Hidden", EntryKind::Directory, "", true};
  }
};

class StorePreferencesTest : public ::testing::Test {
 protected:
  StorePreferences Open(const std::string& list) {
    session.stores = StoreList::Parse(list);
    return StorePreferences(session);
  }
  std::string Stored() {
    return GetString(session, SettingsRoot::CurrentUser, kMainKey, "VeilboxHideFolderPath");
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const ShownBox& box : dialogue.boxes) texts.push_back(box.text);
    return texts;
  }

  TempHome home;
  LetterDrivePlatform platform;
  ScriptedDialogue dialogue;
  Session session{platform, dialogue};
  const std::vector<ListRow> none;
};

// Keys in other letter case are other drives; the program folder and listed folders may not serve.
TEST_F(StorePreferencesTest, LoadsOneRowPerEntryAndAddsOneFreeStoreFolderPerDrive) {
  StorePreferences prefs = Open("/C:/Store**/E:/Hidden");
  EXPECT_EQ(prefs.Rows(), (std::vector<StoreRow>{{"/C:/", "/C:/Store"}, {"/E:/", "/E:/Hidden"}}));
  const std::string program = home.ProgramFolder().string();
  const std::vector<ListRow> listed{{"Plans", "/F:/Work/", kVisible, kNormal}};
  dialogue.Folders(
      {"/E:/Other", "/e:/Other", "/D:/New", program, "/F:/Work/Plans/Old", program + "/Data"});
  for (const bool added : {false, true, true, false, false, true})
    EXPECT_EQ(prefs.Add(listed), added);
  EXPECT_EQ(Texts(),
            (std::vector<std::string>{
                "/E:/ already has a hidden/locked folder on it.",
                program + " is the program folder. Please select another folder.",
                "/F:/Work/Plans/Old lies inside the listed folder /F:/Work/Plans. Please select "
                "another folder."}));
  EXPECT_EQ(dialogue.chooser_titles, (std::vector<std::string>(6, "Select Folder...")));
  EXPECT_EQ(prefs.ListText(), "/C:/Store*/E:/Hidden*/e:/Other*/D:/New*" + program + "/Data*");
}

// Edit keeps to its row's drive; a drive holding listed folders is told; only a saved list counts.
TEST_F(StorePreferencesTest, EditAndRemoveKeepToTheirRowsDriveAndOnlyASavedListCounts) {
  StorePreferences prefs = Open("/C:/Store*/E:/Hidden*");
  const std::vector<ListRow> listed{{"Plans", "/E:/Work/", kVisible, kNormal}};
  EXPECT_FALSE(prefs.Edit(1, listed) || prefs.Remove(1, listed));
  dialogue.Folders({"/D:/X", "/E:/Hidden/Inner"});
  for (const bool edited : {false, true, false}) EXPECT_EQ(prefs.Edit(1, none), edited);
  const std::string used = "/E:/ is being used. Please remove items from the main list using /E:/";
  EXPECT_EQ(Texts(), (std::vector<std::string>{used + " before editing this folder.",
                                               used + " before removing this folder.",
                                               "Please select a folder on /E:/"}));
  // Row 2 is past the last row, as after a removal.
  EXPECT_FALSE(prefs.Edit(std::nullopt, none) || prefs.Remove(std::nullopt, none) ||
               prefs.Remove(2, none));
  dialogue.Answers({Answer::No, Answer::Cancel, Answer::Yes});
  for (const bool removed : {false, false, true}) EXPECT_EQ(prefs.Remove(1, none), removed);
  EXPECT_EQ(Texts().at(5), "Are you sure you wish to remove /E:/Hidden/Inner from the list?");
  EXPECT_EQ(prefs.ListText(), "/C:/Store*");

  // A failed write leaves the old list in force, the edited rows kept.
  platform.refuse_setting_writes = true;
  dialogue.Answers({Answer::Yes, Answer::Yes});  // the error box, the last removal
  EXPECT_FALSE(prefs.Save());
  EXPECT_EQ(dialogue.boxes.back().title, "Error");
  EXPECT_EQ(std::make_tuple(Stored(), session.stores.Text(), prefs.ListText()),
            std::make_tuple("", "/C:/Store*/E:/Hidden*", "/C:/Store*"));
  platform.refuse_setting_writes = false;
  ASSERT_TRUE(prefs.Remove(0, none));
  EXPECT_TRUE(prefs.Save());
  EXPECT_EQ(std::make_tuple(Stored(), session.stores.Text()), std::make_tuple("", ""));
}

}  // namespace veilbox::testing
