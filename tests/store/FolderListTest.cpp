// Dat.sys as read and written: golden/*.sys are written back byte for byte
// (or as the .expected beside them); a bad entry is told once and kept.
#include "store/FolderList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "app/FolderData.h"
#include "support/HomeTest.h"

namespace veilbox::testing {

namespace fs = std::filesystem;

class FolderListTest : public HomeTest {
 protected:
  FolderListTest() { session.data_file = (home.Root() / "Dat.sys").string(); }
};

TEST_F(FolderListTest, TheGoldenCorpusIsReadAndWrittenBackUnchanged) {
  // The rows each file holds, and the entries that are not records.
  const std::map<std::string, std::pair<size_t, size_t>> read{
      {"odd-names", {3, 0}}, {"crlf-lines", {2, 0}}, {"no-line-end", {2, 0}}, {"empty", {0, 0}},
      {"bad-line", {2, 1}},  {"bare-lf", {1, 0}},    {"nul-byte", {1, 0}}};
  const fs::path golden = fs::path(VEILBOX_TEST_SOURCE_DIR) / "store" / "golden";
  size_t files = 0;
  for (const auto& entry : fs::directory_iterator(golden)) {
    if (entry.path().extension() != ".sys") continue;
    const std::string name = entry.path().stem().string();
    SCOPED_TRACE(name);
    ++files;
    fs::copy_file(entry.path(), session.data_file, fs::copy_options::overwrite_existing);
    dialogue.boxes.clear();
    ASSERT_TRUE(session.ReadList());
    EXPECT_EQ(session.Rows().size(), read.at(name).first);
    EXPECT_EQ(dialogue.boxes.size(), read.at(name).second);
    ASSERT_TRUE(SaveFolders(session));
    const fs::path expected = golden / (name + ".expected");
    EXPECT_EQ(ReadText(session.data_file),
              ReadText(fs::exists(expected) ? expected : entry.path()));
  }
  EXPECT_EQ(files, read.size());
}

// A bad entry is kept where it was, and rows added come after every row.
TEST_F(FolderListTest, AddedRowsNeverRunIntoWhatWasThere) {
  FolderList list = FolderList::Parse("A</x/<Visible<Normal<A*B</y/*\nC</z/<Visible<Normal<C\n");
  ASSERT_EQ(list.Size(), 2u);
  EXPECT_EQ(list[1].name, "C");
  EXPECT_EQ(list.Unreadable(), (std::vector<std::pair<size_t, std::string>>{{2, "B</y/"}}));
  list.Add(NewRecord("/w/D"));
  list.Erase(0);
  EXPECT_EQ(list.Text(), "B</y/*\nC</z/<Visible<Normal<C*D</w/<Visible<Normal<D*\n");
  const std::vector<RowRef> refs = list.RefsOf({0, 1, 7});
  list.Replace(0, NewRecord("/v/E"));
  EXPECT_EQ(list.Find(refs), (std::vector<std::optional<size_t>>{std::nullopt, 1, std::nullopt}));

  // The last row removed and a new one added: the list holds that row alone.
  list = FolderList::Parse("A</x/<Visible<Normal<A*\r\n");
  list.Erase(0);
  list = FolderList::Parse(list.Text());
  list.Add(NewRecord("/w/D"));
  EXPECT_EQ(list.Text(), "D</w/<Visible<Normal<D*\r\n");
  EXPECT_TRUE(FolderList::Parse(list.Text()).Unreadable().empty());
}

}  // namespace veilbox::testing
