#include "store/FolderOverlap.h"

#include <gtest/gtest.h>

#include "support/TempHome.h"

namespace veilbox {
namespace {

TEST(FolderOverlap, ComparesWholeComponentsOfFullPaths) {
  EXPECT_EQ(CompareFolders("/a/b/", "/a//b"), Overlap::Same);
  EXPECT_EQ(CompareFolders("/a/./x/../b", "/a/b"), Overlap::Same);
  EXPECT_EQ(CompareFolders("/../a", "/a"), Overlap::Same);  // never above the root
  EXPECT_EQ(CompareFolders("/", "/a"), Overlap::Contains);
  EXPECT_EQ(CompareFolders("/a/b/c", "/a"), Overlap::Inside);
  EXPECT_EQ(CompareFolders("C:\\", "C:\\Vault", '\\'), Overlap::Contains);
  // A shared beginning of a name, other letter case, an empty or a relative
  // path: no overlap.
  EXPECT_EQ(CompareFolders("/a/bc", "/a/b"), Overlap::None);
  EXPECT_EQ(CompareFolders("/A/b", "/a/b"), Overlap::None);
  EXPECT_EQ(CompareFolders("", "/a"), Overlap::None);
  EXPECT_EQ(CompareFolders("a", "/a"), Overlap::None);
}

TEST(FolderOverlap, NamesTheFirstOverlapInASentence) {
  const std::unique_ptr<Platform> platform = CreatePlatform();
  auto problem = [&](const std::string& folder) {
    return OverlapProblem(*platform, folder,
                          {{"/home/me/prog", "the program folder", true},
                           {"/home/me/Work/Plans", "the listed folder"}});
  };
  EXPECT_EQ(problem("/home/me/prog"), "/home/me/prog is the program folder.");
  EXPECT_EQ(problem("/home/me"), "/home/me contains the program folder /home/me/prog.");
  EXPECT_EQ(problem("/home/me/Work/Plans/Old"),
            "/home/me/Work/Plans/Old lies inside the listed folder /home/me/Work/Plans.");
  // may_hold_it lets a folder lie inside that one, but not hold it.
  EXPECT_EQ(problem("/home/me/prog/Data"), std::nullopt);
  EXPECT_EQ(problem("/home/me/Work/Other"), std::nullopt);
}

TEST(FolderOverlap, OneFolderReachedByTwoPathsIsOneFolder) {
  const testing::TempHome home;
  const std::unique_ptr<Platform> platform = CreatePlatform();
  const std::filesystem::path real = home.MakeFolder("real/store/sub");
  const std::filesystem::path alias = home.Root() / "alias";
  std::filesystem::create_directory_symlink(home.Root() / "real", alias);
  const std::vector<GuardedFolder> store{{(home.Root() / "real/store").string(), "the store"}};
  EXPECT_EQ(OverlapProblem(*platform, (alias / "store").string(), store),
            (alias / "store").string() + " is the store " + store[0].path + ".");
  EXPECT_EQ(OverlapProblem(*platform, alias.string(), store),
            alias.string() + " contains the store " + store[0].path + ".");
  EXPECT_EQ(OverlapProblem(*platform, (alias / "store/sub").string(), store),
            (alias / "store/sub").string() + " lies inside the store " + store[0].path + ".");
  EXPECT_EQ(OverlapProblem(*platform, (alias / "store/new").string(), store),
            (alias / "store/new").string() + " lies inside the store " + store[0].path + ".");
  EXPECT_EQ(OverlapProblem(*platform, (home.Root() / "other").string(), store), std::nullopt);
}

}  // namespace
}  // namespace veilbox
