#include <unistd.h>

#include "engine/FolderGuards.h"
#include "support/HomeTest.h"

namespace veilbox::testing {
namespace {

namespace fs = std::filesystem;

class StoreFolderRules : public HomeTest {
 protected:
  std::optional<std::string> Problem(const fs::path& folder) {
    return StoreFolderProblem(session, folder.string(), {}, {});
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
  std::vector<std::pair<std::string, std::string>> refused{
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
  const fs::path other = home.MakeFolder("other");
  if (::chown(other.c_str(), 12345, 12345) == 0) {  // only root may give a folder away
    refused.push_back({other.string(), other.string() + " belongs to another user."});
  }
  for (const auto& [folder, reason] : refused) EXPECT_EQ(Problem(folder), reason);
  for (const char* fine : {"new", "real/sub", "made", "home/Private", "/tmp/x"}) {
    EXPECT_EQ(Problem(r / fine), std::nullopt) << fine;
  }
}

}  // namespace
}  // namespace veilbox::testing
