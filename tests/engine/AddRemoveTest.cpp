#include "engine/EngineFixture.h"

namespace veilbox::testing {
namespace {

// Names the list cannot keep, folders overlapping a store folder, the
// program folder or the settings folder, and paths a hide would refuse (a
// link on the way) are refused and nothing is written; a cancelled chooser
// adds nothing; a folder is added as a Visible record.
TEST_F(EngineTest, AddRefusesFoldersOverlappingVeilboxsOwnAndAppendsAVisibleRecord) {
  fs::create_directories(store / "inside");
  const fs::path settings = home.SettingsFile().parent_path();
  fs::create_directories(settings / "inside");
  const fs::path plans = MakeFolder("Work/Plans");
  fs::create_directory_symlink(home.Root() / "Work", home.Root() / "link");
  for (const fs::path& folder :
       {home.MakeFolder("Work/a*b"), store, store / "inside", home.ProgramFolder(), home.Root(),
        settings, settings.parent_path(), settings / "inside", home.Root() / "link/Plans"}) {
    dialogue.Folders({folder.string()});
    EXPECT_EQ(session.Add(1).Count(Kind::Refused), 1) << folder;
    EXPECT_EQ(dialogue.boxes.back().title, "Folder");
  }
  EXPECT_EQ(dialogue.boxes.at(5).text,
            settings.string() + " is Veilbox's settings folder. It cannot be added.");
  EXPECT_EQ(dialogue.boxes.at(8).text, (home.Root() / "link/Plans").string() +
                                           " is or passes through a link. It cannot be added.");
  const CommandResult cancelled = session.Add(1);  // no folder queued: the chooser is cancelled
  EXPECT_EQ(cancelled.Count(Kind::Declined), 1);
  EXPECT_FALSE(cancelled.reloaded);
  EXPECT_FALSE(fs::exists(session.data_file));

  Add({plans});
  EXPECT_EQ(Database(), Record(plans) + "\r\n");
  EXPECT_EQ(dialogue.chooser_titles.back(), "Select Folder...");
}

// Declined, or a store folder that holds the folder chosen, adds nothing;
// accepted, the chooser insists on the drive. The store folder is made by
// the first hide.
TEST_F(EngineTest, AddOnADriveWithoutStoreSetsOneUpOrAddsNothing) {
  const fs::path plans = MakeFolder("driveB/Work/Plans"), b_store = home.Root() / "driveB/Store";
  const std::string settings_before = ReadText(home.SettingsFile());
  dialogue.Answers({Answer::No, Answer::Yes});
  dialogue.Folders({plans.string(), plans.string(), plans.parent_path().string()});
  EXPECT_EQ(session.Add(2).Count(Kind::Declined), 2);
  EXPECT_EQ(dialogue.boxes.at(0).text,
            "The folder you want to hide has no hidden/locked folder setup on its drive. Do you "
            "wish to create/select a hidden/locked folder on /B/?");
  EXPECT_EQ(dialogue.boxes.at(0).title, "New folder");
  EXPECT_THAT(dialogue.boxes.at(2).text, HasSubstr("It cannot be a hidden/locked folder."));
  EXPECT_EQ(ReadText(home.SettingsFile()), settings_before);
  EXPECT_FALSE(fs::exists(session.data_file));

  dialogue.Answers({Answer::Yes, Answer::Yes});
  dialogue.Folders({plans.string(), home.Root().string(), b_store.string()});
  ASSERT_TRUE(session.Add(1).AllDone());
  EXPECT_EQ(dialogue.boxes.back().text, "This folder is not on /B/. Do you wish to choose again?");
  EXPECT_EQ(dialogue.boxes.back().title, "Folder");
  EXPECT_EQ(Setting("VeilboxHideFolderPath"), store.string() + "*" + b_store.string() + "*");
  EXPECT_EQ(Database(), Record(plans) + "\r\n");
  EXPECT_FALSE(fs::exists(b_store)) << "made by the first hide";
}

// A row whose drive has no store folder in the list (taken out since it
// was added): declined, the pass ends there, keeping the earlier rows;
// accepted, the chosen store folder is made with its staging folder.
TEST_F(EngineTest, HideSetsUpAMissingStoreOrEndsThePassKeepingEarlierRows) {
  const fs::path first = MakeFolder("Work/First"), on_b = MakeFolder("driveB/OnB");
  const fs::path last = MakeFolder("Work/Last");
  Add({first});
  UseStores((home.Root() / "driveB" / "S").string() + "*");
  Add({on_b});
  UseStores(store.string() + "*");
  Add({last});

  dialogue.Answers({Answer::Cancel});
  const CommandResult declined = Hide({"First", "OnB", "Last"});
  EXPECT_EQ(dialogue.boxes.back().text,
            "The folder you want to hide has no hidden/locked folder setup on its drive. Do you "
            "wish to create a hidden/locked folder on /B/?");
  EXPECT_EQ(std::pair(declined.Count(Kind::Done), declined.Count(Kind::Declined)), std::pair(1, 1));
  EXPECT_EQ(Statuses(), "Hidden Visible Visible");

  const fs::path b_store = home.Root() / "driveB/Vault";
  dialogue.Answers({Answer::Yes});
  dialogue.Folders({b_store.string()});
  EXPECT_TRUE(Hide({"OnB", "Last"}).AllDone());
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
  const fs::path old = plans.parent_path(), theirs = MakeFolder("Theirs");
  Add({plans});
  Hide({"Plans"});
  fs::rename(old, home.Root() / "Work/Old.moved");
  fs::create_directory_symlink(theirs, old);
  dialogue.Answers({Answer::No});
  EXPECT_EQ(Restore({"Plans"}).Count(Kind::Declined), 1);
  EXPECT_THAT(Said(), HasSubstr("link"));
  EXPECT_TRUE(fs::is_empty(theirs));
  EXPECT_EQ(Statuses(), "Hidden");

  fs::remove(old);
  const fs::path elsewhere = MakeFolder("Work/New"), via = home.Root() / "Work/Via";
  fs::create_directory_symlink(elsewhere, via);
  dialogue.boxes.clear();
  dialogue.Answers({Answer::Yes, Answer::Yes, Answer::Yes, Answer::Yes});
  dialogue.Folders({(home.Root() / "driveB").string(), (store / "temp").string(), via.string(),
                    elsewhere.string()});
  EXPECT_TRUE(Restore({"Plans"}).AllDone());
  EXPECT_EQ(dialogue.boxes[0].text, old.string() +
                                        "/ does not exist (or is hidden). Do you wish to restore "
                                        "Plans to another folder?");
  EXPECT_EQ(dialogue.boxes[0].icon, Icon::Information);
  EXPECT_THAT(dialogue.boxes[2].text, HasSubstr("lies inside"));
  EXPECT_THAT(dialogue.boxes[3].text, HasSubstr("link"));
  EXPECT_EQ(dialogue.chooser_titles.back(), "Select or create a folder to restore to");
  EXPECT_EQ(ReadText(elsewhere / "Plans" / "a"), "a");
  EXPECT_EQ(Database(), Record(elsewhere / "Plans") + "\r\n");
}

// Rows go last to first, a hidden one restored (with its names decrypted)
// before it goes, a visible one left where it is. A hidden row that cannot
// be restored stays: its place gone and declined, or its drive's store
// folder taken out of the list.
TEST_F(EngineTest, RemoveVisitsRowsLastToFirstAndKeepsHiddenRowsItCannotRestore) {
  for (const char* name : {"One", "Two", "Three", "Four"}) {
    Add({MakeFolder(std::string("Work/") + name, {{"f.txt", name}})});
  }
  Hide({"Four"}, true);
  std::vector<std::string> seen;  // the database as Four's names come back
  dialogue.on_show = [&] { seen.push_back(Database()); };
  ASSERT_TRUE(Remove({"Two", "Four"}).AllDone());
  dialogue.on_show = nullptr;
  ASSERT_FALSE(seen.empty());
  EXPECT_THAT(seen[0], HasSubstr("Two<")) << "Four, the later row, goes first";
  EXPECT_EQ(Database(),
            Record(home.Root() / "Work/One") + Record(home.Root() / "Work/Three") + "\r\n");
  EXPECT_EQ(ReadText(home.Root() / "Work/Four/f.txt"), "Four") << "decrypted and back";
  EXPECT_TRUE(fs::exists(home.Root() / "Work/Two")) << "a visible folder is not moved";

  Hide({"Three"});
  fs::remove_all(home.Root() / "Work");
  dialogue.Answers({Answer::No});
  EXPECT_EQ(Remove({"Three"}).Count(Kind::Declined), 1);
  EXPECT_EQ(Reload().size(), 2u);
  UseStores((home.Root() / "driveB" / "S").string() + "*");
  EXPECT_EQ(Remove({"Three"}).Count(Kind::Refused), 1);
  EXPECT_EQ(dialogue.boxes.back().title, "Remove");
  EXPECT_TRUE(fs::is_directory(store / "Three"));
  EXPECT_EQ(Reload().size(), 2u);
}

}  // namespace
}  // namespace veilbox::testing
