#include <gtest/gtest.h>

#include "platform/Platform.h"
#include "store/GetDirs.h"
#include "store/TextUtil.h"
#include "support/TempHome.h"

namespace veilbox {

using V = std::vector<std::string>;

// SplitString always gives one more element than separators.
TEST(TextUtil, SplitsFindsTheLastAndTakesPathsApart) {
  EXPECT_EQ(SplitString("a*b*", '*'), (V{"a", "b", ""}));
  EXPECT_EQ(SplitString("", '*'), (V{""}));
  EXPECT_EQ(SplitString("*a", '*'), (V{"", "a"}));
  EXPECT_EQ(SplitString("a**b", '*'), (V{"a", "", "b"}));
  EXPECT_EQ(SplitString("whole", '*'), (V{"whole"}));
  EXPECT_EQ(SplitString("C:\\x\\<Visible", '<'), (V{"C:\\x\\", "Visible"}));
  // RInstr: the last occurrence at or before the start, 1-based; 0 if none.
  EXPECT_EQ(RInstr("C:\\a\\b.txt", "\\"), 5);
  EXPECT_EQ(RInstr("C:\\a\\b.txt", "\\", 4), 3);
  EXPECT_EQ(RInstr("C:\\a\\b.txt", "\\", 99), 5);
  EXPECT_EQ(RInstr("abc", "\\"), 0);
  EXPECT_EQ(RInstr("", "\\"), 0);
  EXPECT_EQ(RInstr("abcabc", "bc"), 5);
  EXPECT_EQ(RInstr("\\a", "\\"), 1);
  // The last folder and its parent follow the split.
  EXPECT_EQ(GetLastFolder("C:\\a\\b", '\\'), "b");
  EXPECT_EQ(GetLastFolder("C:\\", '\\'), "");
  EXPECT_EQ(GetLastFolder("C:\\a\\b\\", '\\'), "");
  EXPECT_EQ(GetLastFolder("", '\\'), "");
  EXPECT_EQ(GetLastFolderPath("C:\\a\\b", '\\'), "C:\\a");
  EXPECT_EQ(GetLastFolderPath("C:\\a", '\\'), "C:");
  EXPECT_EQ(GetLastFolderPath("plain", '\\'), "");
  EXPECT_EQ(GetLastFolder("/home/me/Plans"), "Plans");
  EXPECT_EQ(GetLastFolderPath("/home/me/Plans"), "/home/me");
  EXPECT_EQ(GetLastFolderPath("/Plans"), "");
  // A backslash that ends the text is a damaged escape, whatever byte follows it in memory.
  std::string out;
  EXPECT_FALSE(LineUnescapedInto(std::string_view("ab\\n").substr(0, 3), out));
  EXPECT_EQ(out, "ab");
}

TEST(GetDirs, ListsSubFoldersEachFollowedByAComma) {
  testing::TempHome home;
  auto platform = CreatePlatform();
  const auto f = home.MakeFolder("store");
  home.MakeFolder("store/b");
  home.MakeFolder("store/a");
  home.MakeFolder("store/.dot");
  testing::WriteText(f / "c.txt", "");
  EXPECT_EQ(GetDirs(*platform, f.string(), kDirectoryAttribute), ".dot,a,b,");
  EXPECT_EQ(GetDirs(*platform, f.string(), 0), ".dot,a,b,c.txt,");
  EXPECT_EQ(GetDirs(*platform, home.MakeFolder("empty").string(), kDirectoryAttribute), "");
}

}  // namespace veilbox
