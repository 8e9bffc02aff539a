#include "crypto/cEncrypt.h"
#include "engine/Check.h"
#include "engine/EngineFixture.h"

namespace veilbox::testing {
namespace {

TEST_F(EngineTest, CheckFindsNothingWhenListAndFoldersAgree) {
  Add(MakeFolder("Work/Plans", {{"a", "a"}}));
  Add(MakeFolder("Work/Other", {{"b", "b"}}));
  Change("Hidden", {"Plans"}, true);
  CheckReport report = CheckFolders(state, false);
  EXPECT_TRUE(report.findings.empty()) << report.findings.front();
}

// A restore whose renames did not all succeed keeps the "Encrypted" mark on
// the visible record; repair finishes the names and clears the mark.
TEST_F(EngineTest, CheckRepairFinishesARestoreThatLeftCipherNames) {
  const fs::path plans = MakeFolder("Work/Plans", {{"a.txt", "A"}});
  Add(plans);
  const std::string cipher_name = cEncrypt().Encrypt("a.txt", state.EncryptDecryptKey);
  fs::rename(plans / "a.txt", plans / cipher_name);
  const std::string visible = "Plans<" + plans.parent_path().string() + "/<Visible<";
  WriteText(state.SrcDataFilename, visible + "Encrypted<Plans*\r\n");

  EXPECT_EQ(CheckFolders(state, true).repairs.size(), 1u);
  EXPECT_EQ(ReadText(plans / "a.txt"), "A");
  EXPECT_EQ(Database(), visible + "Normal<Plans*\r\n");
}

TEST_F(EngineTest, CheckReportsEveryDisagreementAndRepairsWhatItSafelyCan) {
  const fs::path plans = MakeFolder("Work/Plans", {{"a.txt", "A"}, {"b.txt", "B"}});
  const fs::path gone = MakeFolder("Work/Gone");
  // A plain folder whose name only looks like cipher text: nothing proves
  // Veilbox made it, so it is reported and left alone.
  const std::string cipher_c = cEncrypt().Encrypt("c.txt", state.EncryptDecryptKey);
  const fs::path other = MakeFolder("Work/Other", {{cipher_c, "C"}});
  Add(plans);
  Add(gone);
  Add(other);
  Change("Hidden", {"Plans"}, true);
  fs::remove(gone);
  const std::string plain_b = cEncrypt().Encrypt("b.txt", state.EncryptDecryptKey);
  fs::rename(store / "Plans" / plain_b, store / "Plans" / "b.txt");  // a half-done pass
  const fs::path orphan = MakeFolder("program/Data/Lost(1)", {{"x", "X"}});
  MakeFolder("program/Data/Odd<name");  // found, but never put into the list
  WriteText(store / "temp" / "left", "");

  CheckReport found = CheckFolders(state, false);
  EXPECT_EQ(found.findings.size(), 6u);
  EXPECT_TRUE(found.repairs.empty());

  CheckReport repaired = CheckFolders(state, true);
  EXPECT_EQ(repaired.repairs.size(), 2u);
  EXPECT_TRUE(fs::exists(store / "Plans" / plain_b));
  EXPECT_EQ(ReadText(other / cipher_c), "C");
  rows = *LoadDataFile(state);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[3].folder, "Lost");
  EXPECT_EQ(rows[3].status, "Hidden");
  EXPECT_EQ(rows[3].encryption, "Normal");

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
