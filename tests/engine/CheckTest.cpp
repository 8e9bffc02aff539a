#include "engine/Check.h"
#include "engine/EngineFixture.h"

namespace veilbox::testing {
namespace {

// A restore that finds a file's plain name taken keeps that file's cipher
// name and the row's "Encrypted" mark; once the name is free, repair finishes
// the names and clears the mark.
TEST_F(EngineTest, CheckRepairFinishesARestoreThatLeftCipherNames) {
  const fs::path plans = MakeFolder("Work/Plans", {{"a.txt", "A"}});
  Add(plans);
  Change("Hidden", {"Plans"}, true);
  WriteText(store / "Plans" / "a.txt", "taken");
  EXPECT_EQ(Change("Visible", {"Plans"}).failed, 1);
  EXPECT_EQ(ReadText(plans / Cipher("a.txt")), "A");
  EXPECT_EQ(rows[0].encryption, "Encrypted");

  fs::rename(plans / "a.txt", plans / "taken.txt");
  EXPECT_EQ(CheckFolders(state, true).repairs.size(), 1u);
  EXPECT_EQ(ReadText(plans / "a.txt"), "A");
  EXPECT_EQ(Database(), "Plans<" + plans.parent_path().string() + "/<Visible<Normal<Plans*\r\n");
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
  CheckReport agreeing = CheckFolders(state, false);
  EXPECT_TRUE(agreeing.findings.empty()) << agreeing.findings.front();
  Add(other);

  fs::remove(gone);
  fs::rename(store / "Plans" / Cipher("b.txt"), store / "Plans" / "b.txt");  // a half-done pass
  MakeFolder("program/Data/Lost(1)", {{"x", "X"}});
  MakeFolder("program/Data/Odd<name");  // found, but never put into the list
  WriteText(store / "temp" / "left", "");
  CheckReport found = CheckFolders(state, false);
  EXPECT_EQ(found.findings.size(), 6u);
  EXPECT_TRUE(found.repairs.empty());

  EXPECT_EQ(CheckFolders(state, true).repairs.size(), 2u);
  EXPECT_TRUE(fs::exists(store / "Plans" / Cipher("b.txt")));
  EXPECT_EQ(ReadText(other / Cipher("c.txt")), "C");
  rows = *LoadDataFile(state);
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
  CheckReport report = CheckFolders(state, true);
  EXPECT_TRUE(report.repairs.empty());
  EXPECT_EQ(report.findings.front(), store.string() +
                                         " is not empty, and Veilbox did not make it. Its "
                                         "sub-folders are not added to the list.");
  EXPECT_EQ(state.HiddenFolderData, "");
}

}  // namespace
}  // namespace veilbox::testing
