#include <gtest/gtest.h>

#include "app/AppState.h"
#include "diag/Failure.h"
#include "app/FolderData.h"
#include "support/StateTest.h"

namespace veilbox {
namespace {

using testing::ReadText;
using testing::WriteText;

class FolderDatabaseTest : public testing::StateTest {
 protected:
  FolderDatabaseTest() { state.SrcDataFilename = (home.Root() / "Dat.sys").string(); }
  std::string ErrorCodeLine(size_t box) const {
    const std::string& text = dialogue.boxes.at(box).text;
    size_t at = text.find("Error Code: ");
    return text.substr(at, text.find("\r\n", at) - at);
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
  EXPECT_EQ(LoadDataFile(state), (std::vector<ListRow>{{"A", "/x/", "Visible", "Normal"}}));
  EXPECT_EQ(state.HiddenFolderData, "A</x/<Visible<Normal<A*");
}

TEST_F(FolderDatabaseTest, EmptyDatabaseIsALineEndAndLoadsAsNoRows) {
  state.HiddenFolderData = "";
  ASSERT_TRUE(SaveFolders(state));
  EXPECT_EQ(ReadText(state.SrcDataFilename), "\r\n");
  state.HiddenFolderData = "old";
  EXPECT_EQ(LoadDataFile(state), std::vector<ListRow>{});
  EXPECT_EQ(state.HiddenFolderData, "");
}

TEST_F(FolderDatabaseTest, ZeroByteFileIsReportedAndChangesNothing) {
  WriteText(state.SrcDataFilename, "");
  state.HiddenFolderData = "kept";
  dialogue.Answers({Answer::Yes});
  EXPECT_EQ(LoadDataFile(state), std::nullopt);
  EXPECT_EQ(state.HiddenFolderData, "kept");
  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_EQ(dialogue.boxes[0].title, "Error");
  // The box names the line that raised the failure.
  EXPECT_NE(ErrorCodeLine(0).find("Raise(err::kInvalidArgument"), std::string::npos);
}

TEST_F(FolderDatabaseTest, NulBytesReadAsSpacesAndOnlyARealLineEndIsDropped) {
  WriteText(state.SrcDataFilename, std::string("A\0B</x/<Visible<Normal<A B*\r\n", 29));
  EXPECT_EQ(LoadDataFile(state), (std::vector<ListRow>{{"A B", "/x/", "Visible", "Normal"}}));

  // Edited by hand without a line end: nothing is lost.
  WriteText(state.SrcDataFilename, "A</x/<Visible<Normal<A*B</y/<Hidden<Encrypted<B*");
  EXPECT_EQ(LoadDataFile(state)->size(), 2u);
  EXPECT_EQ(state.HiddenFolderData, "A</x/<Visible<Normal<A*B</y/<Hidden<Encrypted<B*");
}

TEST_F(FolderDatabaseTest, ARecordWithoutTerminatorShowsAndNeverRunsIntoALaterOne) {
  WriteText(state.SrcDataFilename, "A</x/<Visible<Normal<A*B</y/<Visible<Normal<B\r\n");
  EXPECT_EQ(LoadDataFile(state)->size(), 2u);
  state.HiddenFolderData = AppendRecord(state.HiddenFolderData, NewRecord("/z/C"));
  ASSERT_TRUE(SaveFolders(state));
  EXPECT_EQ(LoadDataFile(state)->back(), (ListRow{"C", "/z/", "Visible", "Normal"}));
  EXPECT_EQ(AppendRecord("B</y/<Visible<Normal<B", NewRecord("/z/C")),
            "B</y/<Visible<Normal<B*C</z/<Visible<Normal<C*");
}

TEST_F(FolderDatabaseTest, AShortRecordIsReportedAfterTheRowsBeforeIt) {
  WriteText(state.SrcDataFilename, "A</x/<Visible<Normal<A*B</y/*C</z/<Visible<Normal<C*\r\n");
  dialogue.Answers({Answer::Yes});
  auto rows = LoadDataFile(state);
  ASSERT_TRUE(rows);
  EXPECT_EQ(*rows, (std::vector<ListRow>{{"A", "/x/", "Visible", "Normal"}, {"B", "/y/", "", ""}}));
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
