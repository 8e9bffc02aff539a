#include <gtest/gtest.h>

#include "app/AppState.h"
#include "app/FolderData.h"
#include "diag/Failure.h"
#include "support/StateTest.h"

namespace veilbox {
namespace {

using testing::ReadText;
using Rows = std::vector<ListRow>;

class FolderDatabaseTest : public testing::StateTest {
 protected:
  FolderDatabaseTest() { state.SrcDataFilename = (home.Root() / "Dat.sys").string(); }
  std::optional<Rows> Load(const std::string& file) {
    testing::WriteText(state.SrcDataFilename, file);
    return LoadDataFile(state);
  }
};

TEST_F(FolderDatabaseTest, NoFileLeavesTheListAndDataAndTheFirstSaveCreatesIt) {
  state.HiddenFolderData = "kept";
  EXPECT_EQ(LoadDataFile(state), std::nullopt);
  EXPECT_EQ(state.HiddenFolderData, "kept");

  state.HiddenFolderData = "A</x/<Visible<Normal<A*";
  ASSERT_TRUE(SaveFolders(state));
  EXPECT_EQ(ReadText(state.SrcDataFilename), "A</x/<Visible<Normal<A*\r\n");
  state.HiddenFolderData.clear();
  EXPECT_EQ(LoadDataFile(state), (Rows{{"A", "/x/", "Visible", "Normal"}}));
  EXPECT_EQ(state.HiddenFolderData, "A</x/<Visible<Normal<A*");
}

TEST_F(FolderDatabaseTest, EmptyDatabaseIsALineEndAndLoadsAsNoRows) {
  state.HiddenFolderData = "";
  ASSERT_TRUE(SaveFolders(state));
  EXPECT_EQ(ReadText(state.SrcDataFilename), "\r\n");
  state.HiddenFolderData = "old";
  EXPECT_EQ(LoadDataFile(state), Rows{});
  EXPECT_EQ(state.HiddenFolderData, "");
}

TEST_F(FolderDatabaseTest, ZeroByteFileIsReportedAndChangesNothing) {
  state.HiddenFolderData = "kept";
  dialogue.Answers({Answer::Yes});
  EXPECT_EQ(Load(""), std::nullopt);
  EXPECT_EQ(state.HiddenFolderData, "kept");
  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_EQ(dialogue.boxes[0].title, "Error");
  // The box names the line that raised the failure.
  const std::string& text = dialogue.boxes[0].text;
  const size_t code = text.find("Error Code: ");
  EXPECT_LT(text.find("Raise(err::kInvalidArgument", code), text.find("\r\n", code)) << text;
}

TEST_F(FolderDatabaseTest, NulBytesReadAsSpacesAndOnlyARealLineEndIsDropped) {
  EXPECT_EQ(Load(std::string("A\0B</x/<Visible<Normal<A B*\r\n", 29)),
            (Rows{{"A B", "/x/", "Visible", "Normal"}}));
  // Edited by hand without a line end: nothing is lost.
  EXPECT_EQ(Load("A</x/<Visible<Normal<A*B</y/<Hidden<Encrypted<B*")->size(), 2u);
  EXPECT_EQ(state.HiddenFolderData, "A</x/<Visible<Normal<A*B</y/<Hidden<Encrypted<B*");
}

TEST_F(FolderDatabaseTest, ARecordWithoutTerminatorShowsAndNeverRunsIntoALaterOne) {
  EXPECT_EQ(Load("A</x/<Visible<Normal<A*B</y/<Visible<Normal<B\r\n")->size(), 2u);
  state.HiddenFolderData = AppendRecord(state.HiddenFolderData, NewRecord("/z/C"));
  ASSERT_TRUE(SaveFolders(state));
  EXPECT_EQ(LoadDataFile(state)->back(), (ListRow{"C", "/z/", "Visible", "Normal"}));
  EXPECT_EQ(AppendRecord("B</y/<Visible<Normal<B", NewRecord("/z/C")),
            "B</y/<Visible<Normal<B*C</z/<Visible<Normal<C*");
}

TEST_F(FolderDatabaseTest, AShortRecordIsReportedAfterTheRowsBeforeIt) {
  dialogue.Answers({Answer::Yes});
  EXPECT_EQ(Load("A</x/<Visible<Normal<A*B</y/*C</z/<Visible<Normal<C*\r\n"),
            (Rows{{"A", "/x/", "Visible", "Normal"}, {"B", "/y/", "", ""}}));
  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_NE(dialogue.boxes[0].text.find("Error Number: 9."), std::string::npos);
}

TEST_F(FolderDatabaseTest, AFailedSaveKeepsTheOldFileAndIsReported) {
  state.HiddenFolderData = "A</x/<Visible<Normal<A*";
  ASSERT_TRUE(SaveFolders(state));
  // The program folder vanished: the save cannot happen.
  state.SrcDataFilename = (home.Root() / "gone" / "Dat.sys").string();
  dialogue.Answers({Answer::Yes});
  EXPECT_FALSE(SaveFolders(state));
  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_NE(dialogue.boxes[0].text.find("Error Number: 53."), std::string::npos);
  EXPECT_EQ(ReadText(home.Root() / "Dat.sys"), "A</x/<Visible<Normal<A*\r\n");
}

TEST(FolderRecord, NewRecordsAreVisibleNormalAndRefuseSeparators) {
  EXPECT_EQ(NewRecord("/home/me/Work/Plans").Text(), "Plans</home/me/Work/<Visible<Normal<Plans*");
  EXPECT_EQ(NewRecord("/Plans").Text(), "Plans</<Visible<Normal<Plans*");
  EXPECT_THROW(NewRecord("/home/me/a<b"), Failure);
  EXPECT_THROW(NewRecord("/home/x*/Plans"), Failure);
  auto records = ParseRecords("A</x/<Visible<Normal<A*bad*");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0]->actual, "A");
  EXPECT_FALSE(records[1]);
}

}  // namespace
}  // namespace veilbox
