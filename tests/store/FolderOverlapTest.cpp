#include "store/FolderOverlap.h"

#include <gtest/gtest.h>

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
  const std::vector<GuardedFolder> guarded{{"/home/me/prog", "the program folder", true},
                                           {"/home/me/Work/Plans", "the listed folder"}};
  EXPECT_EQ(OverlapProblem("/home/me/prog", guarded), "/home/me/prog is the program folder.");
  EXPECT_EQ(OverlapProblem("/home/me", guarded),
            "/home/me contains the program folder /home/me/prog.");
  EXPECT_EQ(OverlapProblem("/home/me/Work/Plans/Old", guarded),
            "/home/me/Work/Plans/Old lies inside the listed folder /home/me/Work/Plans.");
  // may_hold_it lets a folder lie inside that one, but not hold it.
  EXPECT_EQ(OverlapProblem("/home/me/prog/Data", guarded), std::nullopt);
  EXPECT_EQ(OverlapProblem("/home/me/Work/Other", guarded), std::nullopt);
}

}  // namespace
}  // namespace veilbox
