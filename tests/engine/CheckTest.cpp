#include "engine/EngineFixture.h"
#include "engine/Messages.h"

namespace veilbox::testing {

using ::testing::Contains;

// A plain name taken keeps cipher name and mark; repair, or a hide and restore, finish it later.
TEST_F(EngineTest, CipherNamesLeftByARestoreAreFinishedByRepairOrTheNextRestore) {
  const fs::path plans = MakeFolder("Work/Plans", {{"a.txt", "A"}, {"b.txt", "B"}});
  Add({plans});
  for (const std::string then : {"repair", "repair after remove", "hide encrypted", "hide"}) {
    SCOPED_TRACE(then);
    Hide({"Plans"}, true);
    WriteText(store / "Plans" / "a.txt", "taken");
    EXPECT_EQ(Kinds(then.ends_with("remove") ? Remove({"Plans"}) : Restore({"Plans"})), "F");
    EXPECT_EQ(ReadText(plans / Cipher("a.txt")) + Database(),
              "A" + Record(plans, "Visible<Encrypted") + "\r\n");
    fs::rename(plans / "a.txt", plans / "taken.txt");
    if (then.starts_with("repair")) {
      EXPECT_EQ(CheckFolders(session, true).repairs.size(), 1u);
      Reload();
    } else {
      ASSERT_TRUE(Hide({"Plans"}, then == "hide encrypted").AllDone());
      EXPECT_TRUE(CheckFolders(session, false).findings.empty());
      ASSERT_TRUE(Restore({"Plans"}).AllDone());
    }
    EXPECT_EQ(ReadText(plans / "a.txt") + ReadText(plans / "b.txt"), "AB");
    EXPECT_EQ(Database(), Record(plans) + "\r\n");
    fs::remove(plans / "taken.txt");
  }
}

// A stand-in keeps its name until its side file is back; a side file beside a plain name goes.
TEST_F(EngineTest, StandInsWithoutUsableSideFilesAreKeptUntilTheyCanBeRead) {
  const std::string one = NameOf(150, "ж"), two = NameOf(255, "n");
  const fs::path plans = MakeFolder("Work/Plans", {{one, "1"}, {two, "2"}, {"a.txt", "A"}});
  const fs::path side1 = store / "Plans/VEILBOX-LONG-NAME-1.CIPHER";
  const fs::path side2 = store / "Plans/VEILBOX-LONG-NAME-2.CIPHER";
  Add({plans});
  Hide({"Plans"}, true);
  const Files sides{{side1.filename(), ReadText(side1)}, {side2.filename(), ReadText(side2)}};
  fs::remove(side1);
  WriteText(side2, "damaged");
  EXPECT_EQ(Kinds(Restore({"Plans"})), "F");
  EXPECT_EQ(std::tuple(ReadText(plans / "a.txt"), FilesIn(plans), rows[0].encryption),
            std::tuple("A", size_t{4}, "Encrypted"));
  EXPECT_THAT(dialogue.boxes.at(0).text, HasSubstr("2 files kept their stand-in names"));
  const CheckReport kept = CheckFolders(session, true);
  EXPECT_THAT(kept.findings, ::testing::ElementsAre(HasSubstr("2 files in " + plans.string() +
                                                              " have stand-in names")));
  EXPECT_TRUE(kept.repairs.empty());

  for (const auto& [side, text] : sides) WriteText(plans / side, text);
  WriteText(plans / "VEILBOX-LONG-NAME-7.CIPHER", Cipher("a.txt"));
  WriteText(plans / "VEILBOX-LONG-NAME-8.CIPHER", Cipher("gone.txt"));
  const CheckReport repaired = CheckFolders(session, true);
  EXPECT_EQ(repaired.findings.back(),
            "2 side files in " + plans.string() + " have no stand-in beside them.");
  ASSERT_EQ(repaired.repairs.size(), 2u);
  EXPECT_EQ(repaired.repairs[0],
            "Removed 1 side files in " + plans.string() + " whose files have their names back.");
  EXPECT_EQ(ReadText(plans / one) + ReadText(plans / two), "12");
  EXPECT_EQ(FilesIn(plans), 4u) << "a.txt and the lone side file 8 beside them";
  EXPECT_EQ(Database(), Record(plans) + "\r\n");

  // The rows as shown before the repair changed the list are refused.
  EXPECT_EQ(Kinds(Hide({"Plans"}, true)), "R");
  EXPECT_EQ(Said(),
            "A folder you chose is no longer in the list as it was shown: the list was changed "
            "meanwhile. Choose it again.");
}

// Cipher-like plain names stay; a check that cannot lock, or a foreign store, adopts nothing.
TEST_F(EngineTest, CheckReportsEveryDisagreementAndRepairsWhatItSafelyCan) {
  const fs::path plans = MakeFolder("Work/Plans", {{"a.txt", "A"}, {"b.txt", "B"}});
  const fs::path gone = MakeFolder("Work/Gone");
  const fs::path other = MakeFolder("Work/Other", {{Cipher("c.txt"), "C"}});
  Add({plans, gone});
  Hide({"Plans"}, true);
  Add({other});
  fs::remove(gone);
  fs::rename(store / "Plans" / Cipher("b.txt"), store / "Plans/b.txt");  // a half-done pass
  MakeFolder("program/Data/Lost(1)", {{"x", "X"}});
  MakeFolder("program/Data/Odd<name");  // found, but never put into the list
  WriteText(store / "temp/left", "");
  auto copy = CreatePlatform();  // another copy, holding the data lock
  auto held = copy->LockData({});
  session.data_lock_limit = std::chrono::milliseconds(50);
  dialogue.Answers({Answer::Yes});  // the error reporter's question
  const CheckReport waited = CheckFolders(session, true);
  EXPECT_TRUE(!waited.complete && waited.findings.empty());
  held.reset();
  const CheckReport found = CheckFolders(session, false);
  EXPECT_EQ(std::pair(found.findings.size(), found.repairs.size()), std::pair(6ul, 0ul));
  EXPECT_EQ(CheckFolders(session, true).repairs.size(), 2u);
  EXPECT_EQ(ReadText(store / "Plans" / Cipher("b.txt")) + ReadText(other / Cipher("c.txt")), "BC");
  ASSERT_EQ(Reload().size(), 4u);
  EXPECT_EQ(rows[3], (ListRow{"Lost", rows[3].path, "Hidden", "Normal"}));

  const fs::path theirs = MakeFolder("Theirs/.ssh", {{"id", "K"}}).parent_path();
  UseStores(theirs.string() + "*");
  const CheckReport report = CheckFolders(session, true);
  EXPECT_TRUE(report.repairs.empty());
  EXPECT_THAT(report.findings, Contains(HasSubstr("sub-folders are not added to the list.")));
}

// Rows naming no folder of their own are told, kept and never followed; the check goes on.
TEST_F(EngineTest, RowsThatNameNoFolderOfTheirOwnAreKeptAndNeverFollowed) {
  const fs::path plans = MakeFolder("Work/Plans", {{"a.txt", "A"}});
  const fs::path documents = MakeFolder("Documents", {{"d.txt", "D"}});
  const fs::path settings = home.SettingsFile().parent_path(), link = home.Root() / "link";
  MakeFolder("Work/Linked");
  fs::create_directory_symlink(home.Root() / "Work", link);
  Add({plans});
  Hide({"Plans"});
  const std::string work = plans.parent_path().string() + "/", dat = session.data_file;
  const std::string bad = "Docs<" + work + "<Hidden<Normal<../../Documents*x<relative/<Hidden<" +
                          "Normal<x*..<" + work + "<Visible<Normal<..*";
  WriteText(dat, Record(plans, "Hidden<Normal") + bad + Record(settings) +
                     Record(link / "Linked", "Visible<Encrypted") +
                     Record(plans.parent_path() / "Gone") + "\r\n");
  Reload();
  EXPECT_EQ(Kinds(Restore({"Plans", "Docs", "x", ".."})), "DRRR");
  EXPECT_EQ(Kinds(Hide({"veilbox"})), "F");
  EXPECT_EQ(ReadText(plans / "a.txt") + ReadText(documents / "d.txt"), "AD");
  EXPECT_TRUE(fs::exists(home.SettingsFile()));
  std::vector<std::string> findings{
      "Row 2 of " + dat +
          " was left as it is: its name in the store folder \"../../Documents\" holds \"/\".",
      "Row 3 of " + dat + " was left as it is: its path \"relative/\" is not a full path.",
      "Row 4 of " + dat + " was left as it is: its folder name \"..\" is \"..\"."};
  for (size_t i = 0; i < findings.size(); ++i) EXPECT_EQ(dialogue.boxes.at(i).text, findings[i]);
  EXPECT_EQ(Said(),
            msg::MoveFailed(settings, settings.string() +
                                          " is Veilbox's settings folder. It cannot be hidden."));
  EXPECT_THAT(Database(), HasSubstr(bad));

  const CheckReport report = CheckFolders(session, true);
  EXPECT_TRUE(report.complete);
  findings.push_back((link / "Linked").string() + " could not be checked: " +
                     (link / "Linked").string() + " is or passes through a link.");
  findings.push_back("The folder " + work + "Gone of Gone is missing.");
  EXPECT_EQ(report.findings, findings);
}

}  // namespace veilbox::testing
