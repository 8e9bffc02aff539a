// Name patterns, and the finder on temporary trees in name order ("/" paths: not on Windows).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>
#include <utility>

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
      {".x", "*.*", true, true},
      {"A.TXT", "*.txt", true, false},
      {"xaxxb", "*a*b", true, true},
      {"a\xC3\xA9z", "a?z", true, true},   // "?" takes a character, not a byte
      {"\xFF", "?", true, true},           // and a stray byte is one character
      {"\xC3z", "?", false, false},        // a lead byte without its continuation too
      {"\xFF", "\xC3\xBF", false, false},  // but not the letter U+00FF
      {"v0.txt", "v#.txt", false, true},
      {"v9.txt", "v#.txt", false, true},
      {"v#.txt", "v#.txt", true, false},
      {"bx", "[a-c]x", false, true},
      {"Bx", "[a-c]x", false, false},
      {"[A-C]x", "[a-c]x", true, false},
      {"dx", "[!a-c]x", false, true},
      {"b", "[axz]", false, false},  // a range needs its "-"
      {"-", "[a-]", false, true},    // and a "-" at the end stands for itself
      {"*", "[*]", false, true},
      {"ab", "a[]b", false, true},
      {"abc", "abc*", true, true},
      {"abc", "abc", true, true},  // in the freed tokens of "abc*": nothing past the end is read
  };
  for (const auto& [name, pattern, by_listing, exact] : cases) {
    EXPECT_EQ(MatchesListingPattern(name, pattern), by_listing) << name << " " << pattern;
    EXPECT_EQ(MatchesExactPattern(name, pattern), exact) << name << " " << pattern;
  }
  EXPECT_THROW(MatchesExactPattern("a", "[abc"), Failure);  // a malformed bracket raises
  EXPECT_THROW(MatchesExactPattern("a", "[c-a]"), Failure);
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
  Strings Paths(const Strings& relatives) const {
    Strings out{""};
    for (const auto& r : relatives) out.push_back(Path(r));
    return out;
  }

  testing::TempHome home;
  const fs::path outside = home.MakeFolder("outside");  // a folder out of the searched tree
  NativePlatform platform;
  clsFileFind finder{platform};
  Strings files, folders;
};

// An empty folder finds nothing; one with only subfolders counts them.
TEST_F(FileFind, ListsEachFoldersFilesBeforeItsSubfoldersInListingOrder) {
  Make({"b.txt", "a", ".dot", "S/c.txt", "S/T/d", "R/e", ".cfg/f", "E/", "O/P/"});
  EXPECT_EQ(Search(Path(""), true), FindResult::DirExSuccess);
  EXPECT_EQ(files, Paths({".dot", "a", "b.txt", ".cfg/f", "R/e", "S/c.txt", "S/T/d"}));
  EXPECT_EQ(folders, Paths({"", ".cfg/", "E/", "O/", "O/P/", "R/", "S/", "S/T/"}));
  EXPECT_EQ(Search(Path(""), false), FindResult::DirExSuccess);
  EXPECT_EQ(files, Paths({".dot", "a", "b.txt"}));
  EXPECT_EQ(folders, Paths({""}));
  EXPECT_EQ(Search(Path("E/"), true), FindResult::NoFilesFound);
  EXPECT_EQ(folders, Paths({"E/"}));
  EXPECT_EQ(Search(Path("O/"), false), FindResult::DirExSuccess);
  EXPECT_EQ(files, Strings{""});
}

// A stop from the event pump ends only the search under way; links are listed, never entered.
TEST_F(FileFind, AppendsRaisesEventsStopsAndNeverEntersLinks) {
  Make({"a", "S/b"});
  Strings current, kept{"", "kept"}, fresh;
  std::pair<FindResult, int> finished;
  finder.OnCurrentFolder = [&](const std::string& f) { current.push_back(f); };
  finder.OnFinished = [&](FindResult r, int count) { finished = {r, count}; };
  finder.SearchFile(Path(""), true, kept, fresh);
  EXPECT_EQ(kept, (Strings{"", "kept", Path("a"), Path("S/b")}));
  EXPECT_EQ(fresh, Paths({"", "S/"}));  // an empty list gets its blank element 0
  EXPECT_EQ(current, (Strings{(home.Root() / "t").string(), Path("S")}));
  EXPECT_EQ(finished, std::make_pair(FindResult::DirExSuccess, 3));  // S counts as an entry

  Make({"R/c"});
  finder.PumpEvents = [&] {
    if (files.size() > 1) finder.StopSearch();
  };
  EXPECT_EQ(Search(Path(""), true), FindResult::UserCanceled);
  EXPECT_EQ(files, Paths({"a"}));
  finder.PumpEvents = nullptr;

  testing::WriteText(outside / "secret", "x");
  fs::create_directory_symlink(Path(""), Path("S/up"));  // a loop back to an ancestor
  fs::create_directory_symlink(outside, Path("out"));
  EXPECT_EQ(Search(Path(""), true), FindResult::DirExSuccess);
  EXPECT_EQ(files, Paths({"a", "out", "R/c", "S/b", "S/up"}));
  EXPECT_EQ(folders, Paths({"", "R/", "S/"}));
  EXPECT_EQ(Search(Path("out/"), true), FindResult::PathNameNotValid);
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
  Strings walked;
  const auto walk = [&](OpenFolder& root) {
    walked.clear();
    return finder.WalkFolder(root,
                             [&](const std::string& in, const std::string& name, OpenFolder&) {
                               walked.push_back(in + "/" + name);
                               if (in == "R") swap("R/S");
                             });
  };
  EXPECT_EQ(walk(*platform.OpenFolderNoLinks(Path("")).folder), FindResult::DirExFailed);
  EXPECT_EQ(std::count(walked.begin(), walked.end(), "R/S/secret"), 0);
  EXPECT_EQ(std::count(walked.begin(), walked.end(), "R/c"), 1);

  Make({"R/mounted/secret"});
  testing::WithMounts root(platform.OpenFolderNoLinks(Path("")).folder);
  EXPECT_EQ(walk(root), FindResult::DirExFailed);
  EXPECT_EQ(std::count(walked.begin(), walked.end(), "R/mounted/secret"), 0);
  EXPECT_EQ(finder.OtherDrive(), "R/mounted");
}

// The listing takes "#" and brackets literally; a case-sensitive search then tests each name.
TEST_F(FileFind, TheLastPartOfAPathWithoutSeparatorIsANamePattern) {
  Make({"a.txt", "B.TXT", "b", "v#.txt", "[ab].txt"});
  Search(Path("*.TXT"), false, true);
  EXPECT_EQ(files, Paths({"B.TXT"}));
  for (const auto& path : {Path(""), Path("*")}) {
    Search(path, false, true);  // the exact "*.*" needs a dot
    EXPECT_EQ(files, Paths({"B.TXT", "[ab].txt", "a.txt", "v#.txt"})) << path;
  }
  for (const auto& name : {"v#.txt", "[ab].txt"}) {
    EXPECT_EQ(Search(Path(name), false), FindResult::DirExSuccess);
    EXPECT_EQ(Search(Path(name), false, true), FindResult::NoFilesFound);
  }

  Make({"Docs/docs", "Docs/x.txt", "other/DOCS", "a.TXT", "S/c.txt", "file"});
  EXPECT_EQ(Search(Path("Docs"), true), FindResult::DirExSuccess);
  EXPECT_EQ(files, Paths({"Docs/docs", "other/DOCS"}));
  EXPECT_EQ(folders, Paths({"", "Docs/", "S/", "other/"}));
  Search(Path("*.txt"), true);
  EXPECT_EQ(files,
            Paths({"B.TXT", "[ab].txt", "a.TXT", "a.txt", "v#.txt", "Docs/x.txt", "S/c.txt"}));
  for (const auto& path : {std::string(), Path("nope/"), Path("nope/*.txt"), Path("file/")}) {
    EXPECT_EQ(Search(path, true), FindResult::PathNameNotValid) << path;
  }
}

#endif

}  // namespace
}  // namespace veilbox
