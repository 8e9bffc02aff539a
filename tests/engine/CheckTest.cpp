#include <map>

#include "engine/Check.h"
#include "engine/EngineFixture.h"
#include "engine/Messages.h"

namespace veilbox::testing {
namespace {

// A restore that finds a file's plain name taken keeps that file's cipher
// name and the row's "Encrypted" mark, and so does a remove, which keeps the
// row for it; once the name is free, repair finishes the names and clears
// the mark.
TEST_F(EngineTest, CheckRepairFinishesARestoreThatLeftCipherNames) {
  const fs::path plans = MakeFolder("Work/Plans", {{"a.txt", "A"}});
  Add(plans);
  for (const bool remove : {false, true}) {
    SCOPED_TRACE(remove ? "remove" : "restore");
    Change("Hidden", {"Plans"}, true);
    WriteText(store / "Plans" / "a.txt", "taken");
    const CommandResult r = remove ? Remove({"Plans"}) : Change("Visible", {"Plans"});
    EXPECT_EQ(r.Count(Kind::Failed), 1);
    EXPECT_EQ(ReadText(plans / Cipher("a.txt")), "A");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].status, "Visible");
    EXPECT_EQ(rows[0].encryption, "Encrypted");

    fs::rename(plans / "a.txt", plans / "taken.txt");
    EXPECT_EQ(CheckFolders(session, true).repairs.size(), 1u);
    EXPECT_EQ(ReadText(plans / "a.txt"), "A");
    EXPECT_EQ(Database(), "Plans<" + plans.parent_path().string() + "/<Visible<Normal<Plans*\r\n");
    fs::remove(plans / "taken.txt");
    Reload();
  }
}

// A new folder at the place of a hidden one is a row of its own: hiding both
// rows hides the new folder under a free name and finds the other hidden
// already; the list and the folders then agree.
TEST_F(EngineTest, ANewFolderAtAHiddenOnesPlaceIsHiddenUnderAFreeName) {
  const fs::path plans = MakeFolder("Work/Plans", {{"old.txt", "old"}});
  Add(plans);
  Change("Hidden", {"Plans"}, true);
  MakeFolder("Work/Plans", {{"new.txt", "new"}});
  Add(plans);
  const CommandResult r = Change("Hidden", {"Plans"}, true);
  EXPECT_EQ(r.Count(Kind::AlreadySo), 1);
  EXPECT_EQ(r.Count(Kind::Done), 1);
  EXPECT_EQ(ReadText(store / "Plans(1)" / Cipher("new.txt")), "new");
  EXPECT_TRUE(CheckFolders(session, false).findings.empty());
}

// A stand-in whose side file is missing or damaged keeps its name, and the
// row its "Encrypted" mark; check names it. With the side files back,
// repair finishes the restore; a side file whose file has its name back
// goes, and any other side file without its stand-in is only reported.
TEST_F(EngineTest, StandInsWithoutUsableSideFilesAreKeptUntilTheyCanBeRead) {
  const std::string one = NameOf(150, "ж"), two = NameOf(255, "n");
  const fs::path plans = MakeFolder("Work/Plans", {{one, "1"}, {two, "2"}, {"a.txt", "A"}});
  Add(plans);
  Change("Hidden", {"Plans"}, true);
  std::map<std::string, std::string> sides;
  for (const char* side : {"VEILBOX-LONG-NAME-1.CIPHER", "VEILBOX-LONG-NAME-2.CIPHER"}) {
    sides[side] = ReadText(store / "Plans" / side);
  }
  fs::remove(store / "Plans" / "VEILBOX-LONG-NAME-1.CIPHER");
  WriteText(store / "Plans" / "VEILBOX-LONG-NAME-2.CIPHER", "damaged");

  EXPECT_EQ(Change("Visible", {"Plans"}).Count(Kind::Failed), 1);
  EXPECT_EQ(ReadText(plans / "a.txt"), "A");
  EXPECT_EQ(FilesIn(plans), 4u);
  EXPECT_EQ(rows[0].encryption, "Encrypted");
  EXPECT_NE(dialogue.boxes.at(0).text.find("2 files kept their stand-in names"), std::string::npos);
  CheckReport kept = CheckFolders(session, true);
  ASSERT_EQ(kept.findings.size(), 1u);
  EXPECT_NE(kept.findings[0].find("2 files in " + plans.string() + " have stand-in names"),
            std::string::npos);
  EXPECT_TRUE(kept.repairs.empty());

  for (const auto& [side, text] : sides) WriteText(plans / side, text);
  WriteText(plans / "VEILBOX-LONG-NAME-7.CIPHER", Cipher("a.txt"));
  WriteText(plans / "VEILBOX-LONG-NAME-8.CIPHER", Cipher("gone.txt"));
  const CheckReport repaired = CheckFolders(session, true);
  EXPECT_EQ(repaired.findings.back(),
            "2 side files in " + plans.string() + " have no stand-in beside them.");
  EXPECT_EQ(repaired.repairs.size(), 2u);
  EXPECT_EQ(repaired.repairs[0],
            "Removed 1 side files in " + plans.string() + " whose files have their names back.");
  EXPECT_EQ(ReadText(plans / one) + ReadText(plans / two), "12");
  EXPECT_EQ(FilesIn(plans), 4u) << "a.txt and the lone side file 8 beside them";
  EXPECT_EQ(Database(), "Plans<" + plans.parent_path().string() + "/<Visible<Normal<Plans*\r\n");

  // In a hidden folder, a side file beside its file's plain name is half a
  // stand-in: repair finishes it with that side file, never undoes it.
  // (The rows as shown before the repair changed the list are refused.)
  EXPECT_EQ(Change("Hidden", {"Plans"}, true).Count(Kind::Refused), 1);
  EXPECT_EQ(dialogue.boxes.back().text.find("A folder you chose is no longer in the list"), 0u);
  ASSERT_TRUE(Change("Hidden", {"Plans"}, true).AllDone());
  const fs::path side = store / "Plans" / "VEILBOX-LONG-NAME-1.CIPHER";
  fs::rename(store / "Plans" / "VEILBOX-LONG-NAME-1",
             store / "Plans" / *cEncrypt().DecryptFileName(ReadText(side), session.key_text));
  EXPECT_EQ(CheckFolders(session, true).repairs.size(), 1u);
  EXPECT_TRUE(CheckFolders(session, false).findings.empty());
  EXPECT_EQ(FilesIn(store / "Plans"), 6u);
}

TEST_F(EngineTest, CheckReportsEveryDisagreementAndRepairsWhatItSafelyCan) {
  const fs::path plans = MakeFolder("Work/Plans", {{"a.txt", "A"}, {"b.txt", "B"}});
  const fs::path gone = MakeFolder("Work/Gone");
  // A plain folder whose name only looks like cipher text: nothing proves
  // Veilbox made it, so it is reported and left alone.
  const fs::path other = MakeFolder("Work/Other", {{Cipher("c.txt"), "C"}});
  Add(plans);
  Add(gone);
  Change("Hidden", {"Plans"}, true);
  CheckReport agreeing = CheckFolders(session, false);
  EXPECT_TRUE(agreeing.findings.empty()) << agreeing.findings.front();
  Add(other);

  fs::remove(gone);
  fs::rename(store / "Plans" / Cipher("b.txt"), store / "Plans" / "b.txt");  // a half-done pass
  MakeFolder("program/Data/Lost(1)", {{"x", "X"}});
  MakeFolder("program/Data/Odd<name");  // found, but never put into the list
  WriteText(store / "temp" / "left", "");
  CheckReport found = CheckFolders(session, false);
  EXPECT_EQ(found.findings.size(), 6u);
  EXPECT_TRUE(found.repairs.empty());

  EXPECT_EQ(CheckFolders(session, true).repairs.size(), 2u);
  EXPECT_TRUE(fs::exists(store / "Plans" / Cipher("b.txt")));
  EXPECT_EQ(ReadText(other / Cipher("c.txt")), "C");
  Reload();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[3], (ListRow{"Lost", rows[3].path, "Hidden", "Normal"}));

  // The adopted folder's place is unknown: restoring it asks where to go.
  const fs::path target = MakeFolder("Work/Found");
  dialogue.Answers({Answer::Yes});
  dialogue.Folders({target.string()});
  Change("Visible", {"Lost", "Plans"});
  EXPECT_EQ(ReadText(target / "Lost" / "x"), "X");
  EXPECT_EQ(ReadText(plans / "b.txt"), "B");
  EXPECT_EQ(ReadText(plans / "a.txt"), "A");
}

TEST_F(EngineTest, CheckAdoptsNothingFromAStoreFolderVeilboxDidNotMake) {
  MakeFolder("program/Data/.ssh", {{"id", "K"}});
  WriteText(store / ".profile", "");
  CheckReport report = CheckFolders(session, true);
  EXPECT_TRUE(report.repairs.empty());
  EXPECT_EQ(report.findings.front(), store.string() +
                                         " is not empty, and Veilbox did not make it. Its "
                                         "sub-folders are not added to the list.");
  EXPECT_EQ(session.folders.Size(), 0u);
}

// Rows of Dat.sys that name no folder of their own (a stored name that
// climbs out of the store, a path that is not full, ".." as a name) are
// reported by their row, kept as written and never followed; a row that
// now names Veilbox's own settings folder is not hidden; a row that cannot
// be looked at is a finding of its own, and the rows after it are checked.
TEST_F(EngineTest, RowsThatNameNoFolderOfTheirOwnAreKeptAndNeverFollowed) {
  const fs::path plans = MakeFolder("Work/Plans", {{"a.txt", "A"}});
  const fs::path documents = MakeFolder("Documents", {{"d.txt", "D"}});
  MakeFolder("Work/Linked");
  fs::create_directory_symlink(home.Root() / "Work", home.Root() / "link");
  Add(plans);
  Change("Hidden", {"Plans"});
  const std::string work = plans.parent_path().string() + "/";
  const std::string settings = home.SettingsFile().parent_path().string();
  const std::vector<std::string> bad{"Docs<" + work + "<Hidden<Normal<../../Documents*",
                                     "x<relative/<Hidden<Normal<x*",
                                     "..<" + work + "<Visible<Normal<..*"};
  std::string database = Database();
  database.resize(database.size() - 2);  // the line end
  for (const std::string& row : bad) database += row;
  database += "veilbox<" + fs::path(settings).parent_path().string() +
              "/<Visible<Normal<veilbox*Linked<" + (home.Root() / "link").string() +
              "/<Visible<Encrypted<Linked*Gone<" + work + "<Visible<Normal<Gone*";
  WriteText(session.data_file, database + "\r\n");
  Reload();

  EXPECT_EQ(Change("Visible", {"Plans", "Docs", "x", ".."}).Count(Kind::Refused), 3);
  EXPECT_EQ(Change("Hidden", {"veilbox"}).Count(Kind::Failed), 1);
  EXPECT_EQ(ReadText(plans / "a.txt"), "A");
  EXPECT_EQ(ReadText(documents / "d.txt"), "D");
  EXPECT_TRUE(fs::exists(home.SettingsFile()));
  const std::string dat = session.data_file;
  const std::vector<std::string> left_alone{
      "Row 2 of " + dat +
          " was left as it is: its name in the store folder \"../../Documents\" holds \"/\".",
      "Row 3 of " + dat + " was left as it is: its path \"relative/\" is not a full path.",
      "Row 4 of " + dat + " was left as it is: its folder name \"..\" is \"..\"."};
  for (size_t i = 0; i < left_alone.size(); ++i) {
    EXPECT_EQ(dialogue.boxes.at(i).text, left_alone[i]);
  }
  EXPECT_EQ(
      dialogue.boxes.at(3).text,
      msg::MoveFailed(settings, settings + " is Veilbox's settings folder. It cannot be hidden."));
  EXPECT_NE(Database().find(bad[0] + bad[1] + bad[2]), std::string::npos);

  const CheckReport report = CheckFolders(session, true);
  EXPECT_TRUE(report.complete);
  EXPECT_EQ(report.findings,
            (std::vector<std::string>{
                left_alone[0], left_alone[1], left_alone[2],
                (home.Root() / "link/Linked").string() + " could not be checked: " +
                    (home.Root() / "link/Linked").string() + " is or passes through a link.",
                "The folder " + work + "Gone of Gone is missing."}));
}

}  // namespace
}  // namespace veilbox::testing
