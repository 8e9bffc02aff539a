// Name patterns, and the finder on temporary trees in name order ("/" paths: not on Windows).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <tuple>

#include "NativePlatform.h"
#include "diag/Failure.h"
#include "search/NamePattern.h"
#include "search/clsFileFind.h"
#include "support/ForwardingFolder.h"
#include "support/TempHome.h"

namespace veilbox {
namespace {

TEST(NamePattern, ListingAndExactCaseRulesAndMalformedBrackets) {
  // Name, pattern, then what the listing and the exact test say.
  const std::tuple<const char*, const char*, bool, bool> cases[] = {
      {"b", "*.*", true, false},  // only the exact test needs the dot
      {"A.TXT", "a.txt", true, false},     {"xaxxb", "*a*b", true, true},
      {"a\xC3\xA9z", "a?z", true, true},  // "?" takes a character, not a byte
      {"v09.txt", "v##.txt", false, true}, {"v#.txt", "v#.txt", true, false},
      {"bx", "[a-c]x", false, true},       {"Bx", "[a-c]x", false, false},
      {"dx", "[!a-c]x", false, true},      {"abc", "abc*", true, true},
      {"abc", "abc", true, true},  // in the freed tokens of "abc*": nothing past the end is read
  };
  for (const auto& [name, pattern, by_listing, exact] : cases) {
    EXPECT_EQ(MatchesListingPattern(name, pattern), by_listing) << name << " " << pattern;
    EXPECT_EQ(MatchesExactPattern(name, pattern), exact) << name << " " << pattern;
  }
  EXPECT_FALSE(MatchesExactPattern("\xC3z", "?"));          // a lead byte alone is a character too
  EXPECT_THROW(MatchesExactPattern("a", "[abc"), Failure);  // a malformed bracket raises
}

#ifndef _WIN32
namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

class FileFind : public ::testing::Test {
 protected:
  // A path in the searched tree; Path("") is its folder with a trailing separator.
  std::string Path(const std::string& r) const { return (home.Root() / "t" / r).string(); }
  // Creates files, and folders for names ending in "/".
  void Make(const Strings& relatives) {
    for (const auto& r : relatives) {
      r.back() == '/' ? (void)fs::create_directories(Path(r)) : testing::WriteText(Path(r), "x");
    }
  }
  FindResult Search(const std::string& path, bool sub_folders, bool case_sensitive = false) {
    files = folders = {""};
    return finder.SearchFile(path, sub_folders, files, folders, case_sensitive);
  }
  // Walks the tree from root into walked ("folder/name"), calling also with each file's folder.
  FindResult Walk(OpenFolder& root, const std::function<void(const std::string&)>& also = {}) {
    walked.clear();
    return finder.WalkFolder(root,
                             [&](const std::string& in, const std::string& name, OpenFolder&) {
                               walked.push_back(in + "/" + name);
                               if (also) also(in);
                             });
  }
  Strings Paths(const Strings& relatives) const {
    Strings out{""};
    for (const auto& r : relatives) out.push_back(Path(r));
    return out;
  }

  testing::TempHome home;
  const fs::path outside = home.MakeFolder("outside");  // a folder out of the searched tree
  NativePlatform platform;
  clsFileFind finder{platform};
  Strings files, folders, walked;
};

// SearchFile lists a folder's files before its subfolders' in listing order; a last path part
// without separator is a name pattern. Links are listed as files and never entered.
TEST_F(FileFind, ListsByPatternInOrderAndNeverEntersLinks) {
  Make({"B.TXT", "a", "b.txt", "v#.txt", "E/", "S/c.txt", "S/T/d"});
  testing::WriteText(outside / "secret", "x");
  fs::create_directory_symlink(Path(""), Path("S/up"));  // a loop back to an ancestor
  fs::create_directory_symlink(outside, Path("out"));
  const Strings top{"B.TXT", "a", "b.txt", "out", "v#.txt"}, all{"", "E/", "S/", "S/T/"};
  const Strings tree{"B.TXT", "a", "b.txt", "out", "v#.txt", "S/c.txt", "S/up", "S/T/d"};
  const Strings txt{"B.TXT", "b.txt", "v#.txt", "S/c.txt"};
  // The path, with subfolders, case-sensitive; the result, the files and folders listed.
  const std::tuple<std::string, bool, bool, FindResult, Strings, Strings> rows[] = {
      {Path(""), true, false, FindResult::DirExSuccess, tree, all},
      {Path(""), false, false, FindResult::DirExSuccess, top, {""}},
      {Path("E/"), true, false, FindResult::NoFilesFound, {}, {"E/"}},
      {Path("*.txt"), true, false, FindResult::DirExSuccess, txt, all},
      {Path("*.txt"), false, true, FindResult::DirExSuccess, {"b.txt", "v#.txt"}, {""}},
      {Path("out/"), true, false, FindResult::PathNameNotValid, {}, {}},
      {Path("a/"), true, false, FindResult::PathNameNotValid, {}, {}},
  };
  for (const auto& [path, sub_folders, case_sensitive, result, found, visited] : rows) {
    EXPECT_EQ(Search(path, sub_folders, case_sensitive), result) << path;
    EXPECT_EQ(files, Paths(found)) << path;
    EXPECT_EQ(folders, Paths(visited)) << path;
  }
  EXPECT_EQ(Walk(*platform.OpenFolderNoLinks(Path("")).folder), FindResult::DirExSuccess);
  std::sort(walked.begin(), walked.end());
  EXPECT_EQ(walked,
            (Strings{"/B.TXT", "/a", "/b.txt", "/out", "/v#.txt", "S/T/d", "S/c.txt", "S/up"}));
}

// A swap for a link, or a drive mounted in the tree (told), ends it; nothing beyond is listed.
TEST_F(FileFind, AFolderSwappedForALinkOrAMountInTheTreeFailsTheWalk) {
  Make({"a", "R/c", "R/S/d", "b"});
  testing::WriteText(outside / "secret", "x");
  const auto swap = [&](const std::string& folder) {
    if (fs::is_symlink(Path(folder))) return;
    fs::rename(Path(folder), Path(folder + ".old"));
    fs::create_directory_symlink(outside, Path(folder));
  };
  // R becomes a link to another folder after the tree's folder was read.
  finder.OnCurrentFolder = [&](const std::string&) { swap("R"); };
  EXPECT_EQ(Search(Path(""), true), FindResult::DirExFailed);
  EXPECT_EQ(files, Paths({"a", "b"}));
  EXPECT_EQ(folders, Paths({""}));  // neither R nor S is visited

  // The walk: a folder deep in the tree swapped once its parent was read.
  fs::remove(Path("R"));
  fs::rename(Path("R.old"), Path("R"));
  const auto during = [&](const std::string& in) {
    if (in == "R") swap("R/S");
  };
  EXPECT_EQ(Walk(*platform.OpenFolderNoLinks(Path("")).folder, during), FindResult::DirExFailed);
  EXPECT_EQ(std::count(walked.begin(), walked.end(), "R/S/secret"), 0);
  EXPECT_EQ(std::count(walked.begin(), walked.end(), "R/c"), 1);

  Make({"R/mounted/secret"});
  testing::WithMounts root(platform.OpenFolderNoLinks(Path("")).folder);
  EXPECT_EQ(Walk(root, during), FindResult::DirExFailed);
  EXPECT_EQ(std::count(walked.begin(), walked.end(), "R/mounted/secret"), 0);
  EXPECT_EQ(finder.OtherDrive(), "R/mounted");
}

#endif

}  // namespace
}  // namespace veilbox
