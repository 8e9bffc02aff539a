#include "crypto/cEncrypt.h"
#include "engine/EngineFixture.h"
#include "engine/Journal.h"
#include "engine/Recovery.h"

namespace veilbox::testing {
namespace {

std::string Cipher(AppState& state, const std::string& name) {
  cEncrypt c;
  return c.Encrypt(name, state.EncryptDecryptKey);
}

TEST_F(EngineTest, HideWithEncryptedNamesAndRestoreBringEverythingBack) {
  const fs::path plans =
      MakeFolder("Work/Plans", {{"a.txt", "A"}, {"sub/b.txt", "B"}, {".dot", "D"}});
  const fs::path other = MakeFolder("Work/Other", {{"keep.txt", "K"}});
  Add(plans);
  Add(other);

  CommandResult hidden = Change("Hidden", {"Plans"}, true);
  EXPECT_TRUE(hidden.AllDone());
  EXPECT_FALSE(fs::exists(plans));
  EXPECT_TRUE(fs::is_directory(store / "temp"));
  EXPECT_EQ(ReadText(store / "Plans" / Cipher(state, "a.txt")), "A");
  EXPECT_EQ(ReadText(store / "Plans" / "sub" / Cipher(state, "b.txt")), "B");
  EXPECT_EQ(ReadText(store / "Plans" / Cipher(state, ".dot")), "D");
  ASSERT_FALSE(dialogue.progress.empty());
  EXPECT_EQ(dialogue.progress.back(), (std::pair<long, long>{3, 3}));
  EXPECT_EQ(rows[0], (ListRow{"Plans", plans.parent_path().string() + "/", "Hidden", "Encrypted"}));
  EXPECT_EQ(rows[1].status, "Visible") << "an unticked row is never touched";
  EXPECT_EQ(ReadText(other / "keep.txt"), "K");

  CommandResult restored = Change("Visible", {"Plans"});
  EXPECT_TRUE(restored.AllDone());
  EXPECT_EQ(ReadText(plans / "a.txt"), "A");
  EXPECT_EQ(ReadText(plans / "sub" / "b.txt"), "B");
  EXPECT_EQ(ReadText(plans / ".dot"), "D");
  EXPECT_FALSE(fs::exists(store / "Plans"));
  EXPECT_EQ(rows[0].status, "Visible");
  EXPECT_EQ(rows[0].encryption, "Normal");
  EXPECT_TRUE(dialogue.boxes.empty());
}

TEST_F(EngineTest, StoreNamesGrowByWholeSuffixesIgnoringCase) {
  fs::create_directories(store / "temp");
  fs::create_directories(store / "Plans");
  fs::create_directories(store / "plans(1)");
  const fs::path plans = MakeFolder("Work/Plans", {{"x", "x"}});
  const fs::path temp = MakeFolder("Work/temp");
  // A name taken by a row of the same command is taken for the next.
  const fs::path other = MakeFolder("Other/Plans", {{"y", "y"}});
  Add(plans);
  Add(temp);
  Add(other);

  EXPECT_TRUE(Change("Hidden", {"Plans", "temp"}).AllDone());
  EXPECT_TRUE(fs::exists(store / "Plans(1)(1)" / "x"));
  EXPECT_TRUE(fs::exists(store / "Plans(1)(1)(1)" / "y"));
  EXPECT_TRUE(fs::exists(store / "temp(1)"));
  EXPECT_NE(
      Database().find("Plans<" + plans.parent_path().string() + "/<Hidden<Normal<Plans(1)(1)*"),
      std::string::npos);

  Change("Visible", {"Plans", "temp"});
  EXPECT_TRUE(fs::exists(plans / "x"));
  EXPECT_TRUE(fs::exists(other / "y"));
  EXPECT_TRUE(fs::is_directory(temp));
  EXPECT_TRUE(fs::is_directory(store / "Plans")) << "the other store folders stay";
}

TEST_F(EngineTest, AnEmptyFolderIsMarkedEncryptedAndComesBackNormal) {
  const fs::path empty = MakeFolder("Work/Empty");
  Add(empty);
  Change("Hidden", {"Empty"}, true);
  EXPECT_EQ(rows[0].encryption, "Encrypted");
  Change("Visible", {"Empty"});
  EXPECT_EQ(rows[0].encryption, "Normal");
  EXPECT_TRUE(fs::is_directory(empty));
}

TEST_F(EngineTest, RowsAlreadyAsWantedAndOtherStatusTextsChangeNothing) {
  Add(MakeFolder("Work/Plans"));
  EXPECT_TRUE(Change("Visible", {"Plans"}).AllDone());
  CommandResult none = Change("Locked", {"Plans"});
  EXPECT_EQ(none.done, 0);
  ASSERT_TRUE(none.rows) << "saved and reloaded all the same";
  Change("Hidden", {"Plans"});
  EXPECT_TRUE(Change("Hidden", {"Plans"}).AllDone());
  EXPECT_TRUE(dialogue.boxes.empty());
}

TEST_F(EngineTest, TwoIdenticalRecordsChangeTogether) {
  const fs::path plans = MakeFolder("Work/Plans", {{"a", "a"}});
  Add(plans);
  Add(plans);
  CommandResult r = Change("Hidden", {"Plans"});
  EXPECT_EQ(r.done, 2) << "the second row finds its record already hidden";
  EXPECT_EQ(rows[0].status, "Hidden");
  EXPECT_EQ(rows[1].status, "Hidden");
  EXPECT_FALSE(fs::exists(store / "Plans(1)"));
}

TEST_F(EngineTest, AFailedMoveKeepsTheRecordTellsWhyAndThePassGoesOn) {
  const fs::path gone = MakeFolder("Work/Gone");
  const fs::path plans = MakeFolder("Work/Plans");
  Add(gone);
  Add(plans);
  fs::remove(gone);

  CommandResult r = Change("Hidden", {"Gone", "Plans"});
  EXPECT_EQ(r.failed, 1);
  EXPECT_EQ(r.done, 1);
  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_EQ(dialogue.boxes[0].title, "Error message");
  EXPECT_EQ(dialogue.boxes[0].text, "Following error occurd while copying folder " + gone.string() +
                                        "\r\nThe folder does not exist.");
  EXPECT_EQ(rows[0].status, "Visible");
  EXPECT_EQ(rows[1].status, "Hidden");

  // Swapped for another folder while its names are planned: the move fails,
  // the other folder stays where it is, and no journal is left to recover.
  Change("Visible", {"Plans"});
  const fs::path other = MakeFolder("Work/Other", {{"o.txt", "O"}});
  dialogue.on_show = [&] {
    if (!fs::exists(plans / "a.txt")) return;
    fs::rename(plans, home.Root() / "Work" / "Plans.held");
    fs::rename(other, plans);
  };
  WriteText(plans / "a.txt", "A");
  EXPECT_EQ(Change("Hidden", {"Plans"}, true).failed, 1);
  EXPECT_EQ(ReadText(plans / "o.txt"), "O");
  EXPECT_FALSE(fs::exists(JournalPath(state)));

  // The same for a restore, swapped in the store folder.
  dialogue.on_show = nullptr;
  ASSERT_TRUE(Change("Hidden", {"Plans"}, true).AllDone());
  bool swapped = false;
  dialogue.on_show = [&] {
    if (swapped) return;
    swapped = true;
    fs::rename(store / "Plans", store / "Plans.held");
    fs::create_directory(store / "Plans");
  };
  EXPECT_EQ(Change("Visible", {"Plans"}).failed, 1);
  EXPECT_FALSE(fs::exists(JournalPath(state)));
}

TEST_F(EngineTest, EachRowIsWrittenBeforeTheNextStarts) {
  const fs::path first = MakeFolder("Work/First");
  const fs::path second = MakeFolder("driveB/Work/Second");
  Add(first);
  // The second drive's store folder lies under a folder that does not exist.
  SaveString(state, SettingsRoot::CurrentUser, "SOFTWARE\\TK", "VeilboxHideFolderPath",
             state.HideFolderPath + (home.Root() / "driveB" / "missing" / "Store").string() + "*");
  StartUp(state);
  Add(second);

  // What a kill at the second row's error box would leave on disk.
  std::string database_at_box, journal_at_box;
  dialogue.on_show = [&] {
    database_at_box = Database();
    journal_at_box = ReadText(JournalPath(state));
  };
  dialogue.Answers({Answer::Yes});  // the error box
  CommandResult r = Change("Hidden", {"First", "Second"});
  EXPECT_EQ(r.failed, 1);
  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_EQ(dialogue.boxes[0].title, "Error");
  EXPECT_TRUE(fs::is_directory(second));
  const std::string first_hidden = "First<" + first.parent_path().string() + "/<Hidden";
  EXPECT_NE(Database().find(first_hidden), std::string::npos);
  EXPECT_FALSE(fs::exists(JournalPath(state))) << "every row it names is saved";

  WriteText(state.SrcDataFilename, database_at_box);
  WriteText(JournalPath(state), journal_at_box);
  EXPECT_TRUE(RecoverInterruptedRow(state));
  EXPECT_NE(Database().find(first_hidden), std::string::npos);
}

TEST_F(EngineTest, NamesTooLongToEncryptRefuseTheRowBeforeAnythingMoves) {
  const std::string long_name(120, 'n');
  const fs::path plans = MakeFolder("Work/Plans", {{"a.txt", "A"}, {"sub/" + long_name, "L"}});
  Add(plans);
  CommandResult r = Change("Hidden", {"Plans"}, true);
  EXPECT_EQ(r.failed, 1);
  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_NE(dialogue.boxes[0].text.find(long_name), std::string::npos);
  EXPECT_EQ(ReadText(plans / "a.txt"), "A");
  EXPECT_EQ(rows[0].status, "Visible");
}

TEST_F(EngineTest, RestoreLeavesNamesThatAreNotCipherTextAlone) {
  const fs::path plans = MakeFolder("Work/Plans", {{"a.txt", "A"}});
  Add(plans);
  Change("Hidden", {"Plans"}, true);
  WriteText(store / "Plans" / "added by hand.txt", "H");
  WriteText(store / "Plans" / "ABCDEF", "X");
  Change("Visible", {"Plans"});
  EXPECT_EQ(ReadText(plans / "a.txt"), "A");
  EXPECT_EQ(ReadText(plans / "added by hand.txt"), "H");
  EXPECT_EQ(ReadText(plans / "ABCDEF"), "X");
  EXPECT_TRUE(dialogue.boxes.empty());

  // A plain name already taken: that file keeps its cipher name, and the row
  // keeps its Encrypted mark so that check --repair can finish it.
  Change("Hidden", {"Plans"}, true);
  WriteText(store / "Plans" / "a.txt", "taken");
  EXPECT_EQ(Change("Visible", {"Plans"}).failed, 1);
  EXPECT_EQ(ReadText(plans / Cipher(state, "a.txt")), "A");
  EXPECT_EQ(rows[0].encryption, "Encrypted");
}

TEST_F(EngineTest, RestoringOntoAFolderOfTheSameNameAsksFirstAndNeverMerges) {
  const fs::path plans = MakeFolder("Work/Plans", {{"a.txt", "mine"}});
  Add(plans);
  Change("Hidden", {"Plans"});
  MakeFolder("Work/Plans", {{"a.txt", "new"}});

  dialogue.Answers({Answer::No});
  EXPECT_EQ(Change("Visible", {"Plans"}).declined, 1);
  EXPECT_EQ(dialogue.boxes.back().text,
            "Plans already exists in this folder. Do you wish to restore to this folder anyway?");
  EXPECT_EQ(dialogue.boxes.back().title, "Exists");
  EXPECT_EQ(rows[0].status, "Hidden");

  dialogue.Answers({Answer::Yes});
  Change("Visible", {"Plans"});
  EXPECT_EQ(ReadText(plans / "a.txt"), "new");
  EXPECT_EQ(ReadText(plans.parent_path() / "Plans(1)" / "a.txt"), "mine");
  EXPECT_EQ(rows[0],
            (ListRow{"Plans(1)", plans.parent_path().string() + "/", "Visible", "Normal"}));
}

TEST_F(EngineTest, AFolderMissingFromTheStoreCannotBeRestored) {
  Add(MakeFolder("Work/Plans"));
  Change("Hidden", {"Plans"});
  fs::remove_all(store / "Plans");
  EXPECT_EQ(Change("Visible", {"Plans"}).declined, 1);
  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_EQ(dialogue.boxes[0].text,
            "Plans does not exist in the hidden database and therefore cannot be restored.");
  EXPECT_EQ(dialogue.boxes[0].title, "Restore");
  EXPECT_EQ(rows[0].status, "Hidden");
}

}  // namespace
}  // namespace veilbox::testing
