#include "engine/EngineFixture.h"

namespace veilbox::testing {
namespace {

constexpr const char* kHideQuestion =
    "The folder you want to hide has no hidden/locked folder setup on its drive. Do you wish to "
    "create a hidden/locked folder on /B/?";
constexpr const char* kAddQuestion =
    "The folder you want to hide has no hidden/locked folder setup on its drive. Do you wish to "
    "create/select a hidden/locked folder on /B/?";

TEST_F(EngineTest, AddAppendsAVisibleRecordAndACancelledChooserChangesNothing) {
  const fs::path plans = MakeFolder("Work/Plans");
  const std::string record =
      "Plans<" + plans.parent_path().string() + "/<Visible<Normal<Plans*\r\n";
  Add(plans);
  EXPECT_EQ(Database(), record);
  EXPECT_EQ(dialogue.chooser_titles.back(), "Select Folder...");

  CommandResult cancelled = session.Add(1);  // no folder queued: the chooser is cancelled
  EXPECT_EQ(cancelled.Count(Kind::Declined), 1);
  EXPECT_FALSE(cancelled.reloaded);
  EXPECT_EQ(Database(), record);
}

// Names the list cannot keep, folders overlapping a store folder, the
// program folder or the settings folder, and paths a hide would refuse (a
// link on the way) are refused; nothing is written.
TEST_F(EngineTest, FoldersOverlappingAStoreOrTheProgramFolderAreRefused) {
  fs::create_directories(store / "inside");
  const fs::path settings = home.SettingsFile().parent_path();
  fs::create_directories(settings / "inside");
  MakeFolder("Work/Plans");
  fs::create_directory_symlink(home.Root() / "Work", home.Root() / "link");
  size_t n = 0;
  for (const fs::path& folder :
       {home.MakeFolder("Work/a*b"), store, store / "inside", home.ProgramFolder(), home.Root(),
        settings, settings.parent_path(), settings / "inside", home.Root() / "link/Plans"}) {
    dialogue.Folders({folder.string()});
    EXPECT_EQ(session.Add(1).Count(Kind::Refused), 1) << folder;
    EXPECT_EQ(dialogue.boxes.at(n++).title, "Folder");
  }
  EXPECT_EQ(dialogue.boxes.at(5).text,
            settings.string() + " is Veilbox's settings folder. It cannot be added.");
  EXPECT_EQ(dialogue.boxes.at(8).text, (home.Root() / "link/Plans").string() +
                                           " is or passes through a link. It cannot be added.");
  EXPECT_FALSE(fs::exists(session.data_file));

  // A store folder may not hold a listed folder.
  const fs::path on_b = MakeFolder("driveB/Work/Plans");
  dialogue.Answers({Answer::Yes});
  dialogue.Folders({on_b.string(), (home.Root() / "driveB" / "Work").string()});
  EXPECT_EQ(session.Add(1).Count(Kind::Declined), 1);
  EXPECT_NE(dialogue.boxes.back().text.find("It cannot be a hidden/locked folder."),
            std::string::npos);
}

TEST_F(EngineTest, AddOnADriveWithoutStoreSetsOneUpOrAddsNothing) {
  const fs::path plans = MakeFolder("driveB/Plans");
  const std::string settings_before = ReadText(home.SettingsFile());

  dialogue.Answers({Answer::No});
  dialogue.Folders({plans.string()});
  EXPECT_EQ(session.Add(1).Count(Kind::Declined), 1);
  EXPECT_EQ(dialogue.boxes.back().text, kAddQuestion);
  EXPECT_EQ(dialogue.boxes.back().title, "New folder");
  EXPECT_EQ(ReadText(home.SettingsFile()), settings_before);
  EXPECT_FALSE(fs::exists(session.data_file));

  // Yes, a folder on the wrong drive, choose again, the right one.
  const fs::path b_store = home.Root() / "driveB" / "Store";
  dialogue.Answers({Answer::Yes, Answer::Yes});
  dialogue.Folders({plans.string(), home.Root().string(), b_store.string()});
  Add(plans);
  EXPECT_EQ(dialogue.boxes.back().text, "This folder is not on /B/. Do you wish to choose again?");
  EXPECT_EQ(dialogue.boxes.back().title, "Folder");
  EXPECT_EQ(Setting("VeilboxHideFolderPath"),
            (home.ProgramFolder() / "Data").string() + "*" + b_store.string() + "*");
  EXPECT_FALSE(fs::exists(b_store)) << "made by the first hide";
}

TEST_F(EngineTest, HideSetsUpAMissingStoreOrEndsThePassKeepingEarlierRows) {
  const fs::path first = MakeFolder("Work/First");
  const fs::path on_b = MakeFolder("driveB/OnB");
  const fs::path last = MakeFolder("Work/Last");
  Add(first);
  // Added while drive B had a store folder that was later taken out of the list.
  UseStores((home.Root() / "driveB" / "S").string() + "*");
  Add(on_b);
  UseStores(store.string() + "*");
  Add(last);

  dialogue.Answers({Answer::Cancel});
  CommandResult declined = Change("Hidden", {"First", "OnB", "Last"});
  EXPECT_EQ(dialogue.boxes.back().text, kHideQuestion);
  EXPECT_EQ(declined.Count(Kind::Done), 1);
  EXPECT_EQ(declined.Count(Kind::Declined), 1);
  EXPECT_EQ(rows[0].status, "Hidden");
  EXPECT_EQ(rows[1].status, "Visible");
  EXPECT_EQ(rows[2].status, "Visible") << "the pass ended at the declined row";

  const fs::path b_store = home.Root() / "driveB" / "Vault";
  fs::create_directories(b_store.parent_path());
  dialogue.Answers({Answer::Yes});
  dialogue.Folders({b_store.string()});
  EXPECT_TRUE(Change("Hidden", {"OnB", "Last"}).AllDone());
  EXPECT_TRUE(fs::is_directory(b_store / "OnB"));
  EXPECT_TRUE(fs::is_directory(b_store / "temp"));
  EXPECT_TRUE(fs::is_directory(store / "Last"));
}

// A place replaced by a link to someone else's folder is not gone: it is
// refused, and the user is asked for another place. A place that is gone
// asks for another, refusing one on another drive, inside a store folder or
// through a link.
TEST_F(EngineTest, RestoreNeverFollowsALinkAndGoesElsewhereWhenTheOwnPlaceIsGone) {
  const fs::path plans = MakeFolder("Work/Old/Plans", {{"a", "a"}});
  Add(plans);
  Change("Hidden", {"Plans"});
  const fs::path theirs = MakeFolder("Theirs");
  const fs::path old = home.Root() / "Work" / "Old";
  fs::rename(old, home.Root() / "Work" / "Old.moved");
  fs::create_directory_symlink(theirs, old);
  dialogue.Answers({Answer::No});
  EXPECT_EQ(Change("Visible", {"Plans"}).Count(Kind::Declined), 1);
  EXPECT_NE(dialogue.boxes[0].text.find("link"), std::string::npos);
  EXPECT_TRUE(fs::is_empty(theirs));
  EXPECT_EQ(rows[0].status, "Hidden");

  fs::remove(old);
  const fs::path elsewhere = MakeFolder("Work/New");
  fs::create_directory_symlink(elsewhere, home.Root() / "Work" / "Via");
  dialogue.boxes.clear();
  dialogue.Answers({Answer::Yes, Answer::Yes, Answer::Yes, Answer::Yes});
  dialogue.Folders({(home.Root() / "driveB").string(), (store / "temp").string(),
                    (home.Root() / "Work" / "Via").string(), elsewhere.string()});
  EXPECT_TRUE(Change("Visible", {"Plans"}).AllDone());
  EXPECT_EQ(dialogue.boxes[0].text, old.string() +
                                        "/ does not exist (or is hidden). Do you wish to restore "
                                        "Plans to another folder?");
  EXPECT_EQ(dialogue.boxes[0].icon, Icon::Information);
  EXPECT_NE(dialogue.boxes[2].text.find("lies inside"), std::string::npos);
  EXPECT_NE(dialogue.boxes[3].text.find("link"), std::string::npos);
  EXPECT_EQ(dialogue.chooser_titles.back(), "Select or create a folder to restore to");
  EXPECT_EQ(ReadText(elsewhere / "Plans" / "a"), "a");
  EXPECT_EQ(rows[0], (ListRow{"Plans", elsewhere.string() + "/", "Visible", "Normal"}));
}

TEST_F(EngineTest, RemoveVisitsRowsLastToFirstAndRestoresHiddenFolders) {
  for (const char* name : {"One", "Two", "Three", "Four", "Five"}) {
    Add(MakeFolder(std::string("Work/") + name, {{"f.txt", name}}));
  }
  Change("Hidden", {"Four"}, true);
  std::vector<std::string> visited;  // the database as Four's names come back
  dialogue.on_show = [&] { visited.push_back(Database()); };
  CommandResult removed = Remove({"Two", "Four"});
  ASSERT_TRUE(removed.AllDone());
  ASSERT_FALSE(visited.empty());
  EXPECT_NE(visited[0].find("Two<"), std::string::npos) << "Four, the later row, goes first";
  rows = session.Rows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].folder, "One");
  EXPECT_EQ(rows[1].folder, "Three");
  EXPECT_EQ(rows[2].folder, "Five");
  EXPECT_EQ(ReadText(home.Root() / "Work" / "Four" / "f.txt"), "Four") << "decrypted and back";
  EXPECT_TRUE(fs::exists(home.Root() / "Work" / "Two")) << "a visible folder is not moved";
}

TEST_F(EngineTest, RemoveKeepsHiddenRowsItCannotRestore) {
  const fs::path plans = MakeFolder("Work/Old/Plans");
  Add(plans);
  Change("Hidden", {"Plans"});
  fs::remove_all(plans.parent_path());
  dialogue.Answers({Answer::No});
  EXPECT_EQ(Remove({"Plans"}).Count(Kind::Declined), 1);
  EXPECT_EQ(Reload().size(), 1u);

  // The drive's store folder was taken out of the list.
  UseStores((home.Root() / "driveB" / "S").string() + "*");
  EXPECT_EQ(Remove({"Plans"}).Count(Kind::Refused), 1);
  EXPECT_EQ(dialogue.boxes.back().title, "Remove");
  EXPECT_TRUE(fs::is_directory(store / "Plans"));
  EXPECT_EQ(Reload().size(), 1u);
}

}  // namespace
}  // namespace veilbox::testing
