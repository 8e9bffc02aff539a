// The sentences naming an overlap are checked where the store-folder
// preferences refuse a folder; here, how paths are compared.
#include "store/FolderOverlap.h"

#include <gtest/gtest.h>

#include "support/TempHome.h"

namespace veilbox {

TEST(FolderOverlap, ComparesWholeComponentsOfFullPathsAndFollowsLinks) {
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

  // One folder reached by two paths is one folder.
  const testing::TempHome home;
  const std::unique_ptr<Platform> platform = CreatePlatform();
  home.MakeFolder("real/store/sub");
  const std::string alias = (home.Root() / "alias").string(),
                    store = (home.Root() / "real/store").string();
  std::filesystem::create_directory_symlink(home.Root() / "real", alias);
  const std::pair<std::string, std::string> cases[] = {{alias + "/store", " is"},
                                                       {alias, " contains"},
                                                       {alias + "/store/sub", " lies inside"},
                                                       {alias + "/store/new", " lies inside"}};
  for (const auto& [folder, how] : cases) {
    EXPECT_EQ(OverlapProblem(*platform, folder, {{store, "the store"}}),
              folder + how + " the store " + store + ".");
  }
  EXPECT_EQ(OverlapProblem(*platform, (home.Root() / "other").string(), {{store, "the store"}}),
            std::nullopt);
}

}  // namespace veilbox
