#include <sys/stat.h>
#include <unistd.h>

#include "engine/EngineFixture.h"
#include "engine/FolderGuards.h"
#include "support/StateTest.h"

namespace veilbox::testing {
namespace {

unsigned ModeOf(const fs::path& p) {
  struct stat st;
  return ::lstat(p.c_str(), &st) == 0 ? st.st_mode & 0777 : 01000;
}

class StoreFolderRules : public StateTest {
 protected:
  std::optional<std::string> Problem(const fs::path& folder) {
    return StoreFolderProblem(state, folder.string(), {}, {});
  }
};

TEST_F(StoreFolderRules, OnlyARealPrivateFolderOfTheUsersOwnMayServe) {
  const fs::path r = home.Root();
  const std::string own_home = (r / "home").string();
  home.MakeFolder("real/sub");
  home.MakeFolder("home/Private");
  home.MakeFolder("folders/a");
  home.MakeFolder("made/temp");
  home.MakeFolder("made/Plans");
  fs::create_directory_symlink(r / "real", r / "link");
  WriteText(r / "file", "");
  WriteText(home.MakeFolder("full") / "notes", "");
  const std::string link = (r / "link").string();
  const std::string not_made = " is not empty, and Veilbox did not make it.";
  const std::vector<std::pair<std::string, std::string>> refused{
      {"/", "/ is the top folder of its drive."},
      {"/etc", "/etc is a system folder."},
      {"/usr/share/x", "/usr/share/x lies inside the system folder /usr."},
      {"/tmp", "/tmp is a system folder."},
      {own_home, own_home + " is your home folder."},
      {r.string(), r.string() + " contains your home folder " + own_home + "."},
      {link, link + " is a link."},
      {link + "/sub", link + "/sub lies behind the link " + link + "."},
      {link + "/new", link + "/new lies behind the link " + link + "."},
      {(r / "file").string(), (r / "file").string() + " is not a folder."},
      {(r / "full").string(), (r / "full").string() + not_made},
      {(r / "folders").string(), (r / "folders").string() + not_made},
      {(r / "real").string(), (r / "real").string() + not_made},
      {(r / "gone/new").string(), (r / "gone/new").string() + " cannot be made: " +
                                      (r / "gone").string() + " is not an existing folder."}};
  for (const auto& [folder, reason] : refused) EXPECT_EQ(Problem(folder), reason);
  for (const char* fine : {"new", "real/sub", "made", "home/Private", "/tmp/x"}) {
    EXPECT_EQ(Problem(r / fine), std::nullopt) << fine;
  }
}

TEST_F(StoreFolderRules, AnotherUsersFolderIsRefused) {
  const fs::path other = home.MakeFolder("other");
  if (::chown(other.c_str(), 12345, 12345) != 0) {
    GTEST_SKIP() << "giving a folder to another user needs root";
  }
  EXPECT_EQ(Problem(other), other.string() + " belongs to another user.");
}

TEST_F(EngineTest, StoreFoldersArePrivateFromTheStartAndOneThatMayNotServeMovesNothing) {
  const fs::path first = MakeFolder("Work/First");
  const fs::path second = MakeFolder("driveB/Work/Second");
  Add(first);
  const mode_t mask = ::umask(0);
  Change("Hidden", {"First"});
  ::umask(mask);
  EXPECT_EQ(ModeOf(store), 0700u);
  EXPECT_EQ(ModeOf(store / "temp"), 0700u);

  // A store folder listed before these rules: a link to the user's home.
  fs::create_directory_symlink(home.MakeFolder("home"), home.Root() / "driveB" / "Store");
  SaveString(state, SettingsRoot::CurrentUser, "SOFTWARE\\TK", "VeilboxHideFolderPath",
             state.HideFolderPath + (home.Root() / "driveB" / "Store").string() + "*");
  StartUp(state);
  Add(second);
  dialogue.Answers({Answer::Yes});  // the error box
  EXPECT_EQ(Change("Hidden", {"Second"}).failed, 1);
  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_NE(dialogue.boxes[0].text.find((home.Root() / "driveB" / "Store").string() + " is a link"),
            std::string::npos);
  EXPECT_TRUE(fs::is_directory(second));
  EXPECT_TRUE(fs::is_empty(home.Root() / "home"));
}

}  // namespace
}  // namespace veilbox::testing
