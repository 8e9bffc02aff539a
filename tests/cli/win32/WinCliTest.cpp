// veilbox-cli.exe under Windows (Wine): hide and restore with encrypted
// names, the store folder on drive C:, the list in Dat.sys in the ANSI code
// page and the settings in the test's own registry key. Wine's cacls.exe is
// a stub, so whether the store folder was really locked cannot be seen here.
#include <gtest/gtest.h>
#include <windows.h>

#include "cli/RunCli.h"
#include "platform/win32/WinPlatform.h"
#include "support/TempHome.h"

namespace veilbox::testing {
namespace {

namespace fs = std::filesystem;

class WinCliTest : public ::testing::Test {
 protected:
  CliRun Run(std::vector<std::string> args, const std::string& input = "") {
    return RunCli(args, input, scratch_, work_);
  }
  CliRun Do(std::vector<std::string> args) {
    args.insert(args.begin(), "--password-stdin");
    return Run(args, "pw\n");
  }
  std::string Setting(const std::string& name) {
    return WinPlatform().ReadSetting(SettingsRoot::CurrentUser, "SOFTWARE\\TK", name).value_or("");
  }
  static fs::path U8(const std::string& text) {
    return fs::path(std::u8string(text.begin(), text.end()));
  }
  // Files named in UTF-8, through the platform: the C++ library's streams
  // take a name in the ANSI code page here.
  void Write(const std::string& relative, const std::string& text) {
    win_.CreateFolders(work_.string() + "\\" + relative.substr(0, relative.rfind('\\')));
    win_.WriteFileAtomic(work_.string() + "\\" + relative, text);
  }
  std::string Read(const std::string& relative) {
    return win_.ReadFile(work_.string() + "\\" + relative);
  }

  TempHome home_;
  WinPlatform win_;
  fs::path scratch_ = home_.MakeFolder("scratch");
  fs::path work_ = home_.MakeFolder("work");
  fs::path store_ = home_.ProgramFolder() / "Data";
};

TEST_F(WinCliTest, HidesAndRestoresWithEncryptedNamesOnDriveC) {
  ASSERT_EQ(work_.string().substr(0, 3), "C:\\");
  ASSERT_EQ(Run({"init", "--accept-agreement", "--password-stdin"}, "pw\n").code, 0);
  EXPECT_EQ(Setting("VeilboxFirstTime"), "No");
  EXPECT_EQ(Setting("VeilboxHideFolderPath"), store_.string() + "*");
  EXPECT_TRUE(Setting("VeilboxPassword").starts_with("pbkdf2-sha256$600000$"));

  Write("Café\\notes.txt", "plain");
  Write("Café\\sub\\é.txt", "deep");
  // Names too long for their cipher text, written under a short name first:
  // 113 and 255 characters, and 127 "é" (the most Wine keeps in the 255
  // bytes of a Linux name, 127 bytes in the ANSI code page).
  std::string e127;
  for (int i = 0; i < 127; ++i) e127 += "é";
  const std::vector<std::string> longs{"Café\\" + std::string(113, 'n'),
                                       "Café\\" + std::string(255, 'n'), "Café\\sub\\" + e127};
  for (const std::string& name : longs) {
    Write("Café\\sub\\short", name);
    fs::rename(work_ / U8("Café\\sub\\short"), work_ / U8(name));
  }
  CliRun r = Do({"add", "Café\\"});
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string parent = work_.string() + "\\";
  EXPECT_EQ(Do({"list"}).out, "Café\t" + parent + "\tVisible\tNormal\r\n");
  if (GetACP() == 1252) {
    EXPECT_NE(ReadText(home_.ProgramFolder() / "Dat.sys").find("Caf\xE9<"), std::string::npos);
  }

  r = Do({"hide", "--encrypt", "Café"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_FALSE(fs::exists(work_ / U8("Café")));
  std::vector<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(store_ / U8("Café"))) {
    if (!e.is_directory()) names.push_back(e.path().filename().string());
  }
  ASSERT_EQ(names.size(), 8u) << "three stand-ins, each with its side file";
  for (const std::string& n : names) {
    EXPECT_TRUE(n.find_first_not_of("0123456789ABCDEF") == std::string::npos ||
                n.starts_with("VEILBOX-LONG-NAME-"))
        << n;
  }
  EXPECT_EQ(Do({"list"}).out, "Café\t" + parent + "\tHidden\tEncrypted\r\n");

  r = Do({"restore", work_.string() + "\\Café"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Read("Café\\notes.txt"), "plain");
  EXPECT_EQ(Read("Café\\sub\\é.txt"), "deep");
  for (const std::string& name : longs) EXPECT_EQ(Read(name), name);
  EXPECT_EQ(std::distance(fs::recursive_directory_iterator(work_ / U8("Café")), {}), 6)
      << "five files and sub, no side file";
  EXPECT_FALSE(fs::exists(store_ / U8("Café")));
  EXPECT_EQ(Do({"list"}).out, "Café\t" + parent + "\tVisible\tNormal\r\n");
}

TEST_F(WinCliTest, WrongUsageAndWrongPasswordsAreRefused) {
  EXPECT_EQ(Run({"frobnicate"}).code, 2);
  EXPECT_EQ(Run({"init", "--accept-agreement", "--password-stdin"}, std::string("p\0w\n", 4)).code,
            3);
  ASSERT_EQ(Run({"init", "--accept-agreement", "--password-stdin"}, "pw\n").code, 0);
  EXPECT_EQ(Run({"list", "--password-stdin"}, "other\n").code, 3);
  EXPECT_EQ(Run({"list"}).code, 3) << "no console to ask on";
  EXPECT_EQ(Run({"list", "--password-stdin"}, "pw\r\n").code, 0);
}

}  // namespace
}  // namespace veilbox::testing
