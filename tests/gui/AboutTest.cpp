// frmAbout: caption and version, and the system-information button with and
// without a program to start.
#include "GuiFixture.h"

#include <QAction>
#include <QLabel>

#include "dialogs/SysInfo.h"
#include "dialogs/frmAbout.h"

namespace veilbox::testing {
namespace {

// PATH for one test, given back afterwards.
class PathVariable {
 public:
  explicit PathVariable(const std::string& value) : saved_(std::getenv("PATH")) {
    setenv("PATH", value.c_str(), 1);
  }
  ~PathVariable() { setenv("PATH", saved_.c_str(), 1); }

 private:
  std::string saved_;
};

void MakeProgram(const fs::path& path, const std::string& content) {
  WriteText(path, content);
  fs::permissions(path, fs::perms::owner_all);
}

using About = GuiTest;

TEST_F(About, ShowsTheNameAndVersionBesideTheMainWindow) {
  StartLoggedIn();
  window->mnuAboutVeilbox->trigger();
  ASSERT_NE(window->About(), nullptr);
  frmAbout& about = *window->About();
  EXPECT_EQ(about.windowTitle(), "About Veilbox");
  EXPECT_EQ(about.lblTitle->text(), "Veilbox");
  EXPECT_EQ(about.lblVersion->text(), "1.04");
  EXPECT_FALSE(about.isModal());
  EXPECT_TRUE(about.isVisible());

  QTest::keyClick(&about, Qt::Key_Escape);
  EXPECT_FALSE(about.isVisible());
}

TEST_F(About, SystemInfoSaysWhenNoProgramCanStart) {
  StartLoggedIn();
  const fs::path bin = home.MakeFolder("bin");
  window->mnuAboutVeilbox->trigger();
  {
    PathVariable path(bin.string());
    Click(window->About()->cmdSysInfo);
  }
  // A program that is there but cannot be run counts as unavailable too.
  MakeProgram(bin / "hardinfo", "not a program\n");
  {
    PathVariable path(bin.string());
    Click(window->About()->cmdSysInfo);
  }
  ASSERT_EQ(boxes.boxes.size(), 2u);
  for (const ShownBox& box : boxes.boxes) {
    EXPECT_EQ(box.text, kSysInfoUnavailable);
    EXPECT_EQ(box.title, "Veilbox");
    EXPECT_EQ(box.icon, Icon::None);
    EXPECT_EQ(box.buttons, Buttons::OK);
  }

  MakeProgram(bin / "hardinfo", "#!/bin/sh\nexit 0\n");
  {
    PathVariable path(bin.string());
    Click(window->About()->cmdSysInfo);
  }
  EXPECT_EQ(boxes.boxes.size(), 2u) << "a program that starts needs no message";
}

TEST(SystemInfoProgram, TheFirstProgramOfTheListWinsOverTheOrderOfFolders) {
  TempHome home;
  const fs::path first = home.MakeFolder("first");
  const fs::path second = home.MakeFolder("second");
  const std::string path = ":" + first.string() + "::" + second.string();
  EXPECT_EQ(FindSystemInfoProgram(path), std::nullopt);

  MakeProgram(first / "gnome-system-monitor", "");
  MakeProgram(second / "kinfocenter", "");
  EXPECT_EQ(FindSystemInfoProgram(path), (second / "kinfocenter").string());

  // Not executable, or a folder: passed over.
  WriteText(first / "hardinfo", "");
  fs::create_directory(second / "hardinfo");
  EXPECT_EQ(FindSystemInfoProgram(path), (second / "kinfocenter").string());
  EXPECT_EQ(FindSystemInfoProgram(""), std::nullopt);
}

}  // namespace
}  // namespace veilbox::testing
