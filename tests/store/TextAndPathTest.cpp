// Text helpers, names and paths, folder overlaps, and Dat.sys read and written back.
#include <gtest/gtest.h>

#include <map>

#include "app/FolderData.h"
#include "store/FolderList.h"
#include "store/FolderOverlap.h"
#include "store/GetDirs.h"
#include "store/Names.h"
#include "store/TextUtil.h"
#include "support/HomeTest.h"

namespace veilbox::testing {

namespace fs = std::filesystem;
using V = std::vector<std::string>;

// SplitString gives one more element than separators; RInstr: the last at or before start, 1-based.
TEST(TextUtil, SplitsFindsTheLastAndTakesPathsApart) {
  std::vector<V> split;
  for (const char* text : {"a*b*", "", "a**b"}) split.push_back(SplitString(text, '*'));
  EXPECT_EQ(split, (std::vector<V>{{"a", "b", ""}, {""}, {"a", "", "b"}}));
  const std::string file = "C:\\a\\b.txt";
  EXPECT_EQ((std::vector<long>{RInstr(file, "\\"), RInstr(file, "\\", 4), RInstr(file, "\\", 99),
                               RInstr("abc", "\\"), RInstr("abcabc", "bc"), RInstr("\\a", "\\")}),
            (std::vector<long>{5, 3, 5, 0, 5, 1}));
  EXPECT_EQ((V{GetLastFolder("C:\\a\\b", '\\'), GetLastFolder("C:\\a\\b\\", '\\'),
               GetLastFolderPath("C:\\a", '\\'), GetLastFolderPath("plain", '\\'),
               GetLastFolder("/home/me/Plans"), GetLastFolderPath("/home/me/Plans"),
               GetLastFolderPath("/Plans")}),
            (V{"b", "", "C:", "", "Plans", "/home/me", ""}));
  // A backslash that ends the text is a damaged escape, whatever byte follows it in memory.
  std::string out;
  EXPECT_FALSE(LineUnescapedInto(std::string_view("ab\\n").substr(0, 3), out));
  EXPECT_EQ(out, "ab");
  // Under Windows rules a device name is no file name, blanks or not; a drive letter starts a path.
  EXPECT_EQ(NameProblem("NUL ", '\\'), "is the name of a device");
  EXPECT_EQ(FullPathProblem("C:\\x", '\\'), std::nullopt);
}

TEST(GetDirs, ListsSubFoldersEachFollowedByAComma) {
  TempHome home;
  auto platform = CreatePlatform();
  for (const char* sub : {"store/b", "store/a", "store/.dot"}) home.MakeFolder(sub);
  WriteText(home.Root() / "store/c.txt", "");
  const std::string store = (home.Root() / "store").string();
  EXPECT_EQ(GetDirs(*platform, store, kDirectoryAttribute), ".dot,a,b,");
  EXPECT_EQ(GetDirs(*platform, store, 0), ".dot,a,b,c.txt,");
}

// A shared beginning of a name, other letter case, a relative path: no overlap.
TEST(FolderOverlap, ComparesWholeComponentsOfFullPathsAndFollowsLinks) {
  const std::vector<std::tuple<std::string, std::string, Overlap>> cases{
      {"/a/b/", "/a//b", Overlap::Same}, {"/a/./x/../b", "/a/b", Overlap::Same},
      {"/", "/a", Overlap::Contains},    {"/a/b/c", "/a", Overlap::Inside},
      {"/a/bc", "/a/b", Overlap::None},  {"/A/b", "/a/b", Overlap::None},
      {"a", "/a", Overlap::None}};
  for (const auto& [a, b, overlap] : cases) EXPECT_EQ(CompareFolders(a, b), overlap) << a;
  EXPECT_EQ(CompareFolders("C:\\", "C:\\Vault", '\\'), Overlap::Contains);

  // One folder reached by two paths is one folder.
  const TempHome home;
  const std::unique_ptr<Platform> platform = CreatePlatform();
  home.MakeFolder("real/store");
  const std::string alias = (home.Root() / "alias").string(),
                    store = (home.Root() / "real/store").string();
  fs::create_directory_symlink(home.Root() / "real", alias);
  for (const auto& [folder, how] :
       {std::pair(alias + "/store", " is"), std::pair(alias, " contains"),
        std::pair(alias + "/store/new", " lies inside")})
    EXPECT_EQ(OverlapProblem(*platform, folder, {{store, "the store"}}),
              folder + how + " the store " + store + ".");
}

using FolderListTest = HomeTest;

TEST_F(FolderListTest, TheGoldenCorpusIsReadAndWrittenBackUnchanged) {
  session.data_file = (home.Root() / "Dat.sys").string();
  // golden/*.sys come back byte for byte (or as the .expected beside them): rows, bad entries.
  const std::map<std::string, std::pair<size_t, size_t>> read{
      {"odd-names", {3, 0}}, {"crlf-lines", {2, 0}}, {"no-line-end", {2, 0}}, {"empty", {0, 0}},
      {"bad-line", {2, 1}},  {"bare-lf", {1, 0}},    {"nul-byte", {1, 0}}};
  const fs::path golden = fs::path(VEILBOX_TEST_SOURCE_DIR) / "store" / "golden";
  for (const auto& [name, counts] : read) {
    SCOPED_TRACE(name);
    const fs::path sys = golden / (name + ".sys"), expected = golden / (name + ".expected");
    fs::copy_file(sys, session.data_file, fs::copy_options::overwrite_existing);
    dialogue.boxes.clear();
    ASSERT_TRUE(session.ReadList());
    EXPECT_EQ(std::pair(session.Rows().size(), dialogue.boxes.size()), counts);
    ASSERT_TRUE(SaveFolders(session));
    EXPECT_EQ(ReadText(session.data_file), ReadText(fs::exists(expected) ? expected : sys));
  }
}

// A bad entry is kept where it was, and rows added come after every row.
TEST(FolderList, AddedRowsNeverRunIntoWhatWasThere) {
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
  // A row that ended a line hands its line end to the row before it.
  list = FolderList::Parse(
      "A</x/<Visible<Normal<A*B</y/<Visible<Normal<B*\r\nC</z/<Visible<Normal<C*\r\n");
  list.Erase(1);
  EXPECT_EQ(list.Text(), "A</x/<Visible<Normal<A*\r\nC</z/<Visible<Normal<C*\r\n");
}

}  // namespace veilbox::testing
