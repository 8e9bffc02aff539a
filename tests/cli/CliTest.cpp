#include <gtest/gtest.h>
#include <sys/stat.h>

#include "cli/RunCli.h"
#include "platform/posix/PosixPlatform.h"
#include "support/TempHome.h"

namespace veilbox::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPassword = "pw\n";

class CliTest : public ::testing::Test {
 protected:
  CliRun Run(std::vector<std::string> args, const std::string& input = "") {
    return RunCli(args, input, scratch_, work_);
  }
  // A command after the right password.
  CliRun Do(std::vector<std::string> args) {
    args.insert(args.begin(), "--password-stdin");
    return Run(args, kPassword);
  }
  void Init() {
    ASSERT_EQ(Run({"init", "--accept-agreement", "--password-stdin"}, kPassword).code, 0);
  }
  std::string Path(const std::string& relative) const { return (work_ / relative).string(); }
  fs::path Store() const { return home_.ProgramFolder() / "Data"; }
  static unsigned Mode(const fs::path& p) {
    struct stat st {};
    stat(p.c_str(), &st);
    return st.st_mode & 07777;
  }

  TempHome home_;
  fs::path scratch_ = home_.MakeFolder("scratch");
  fs::path work_ = home_.MakeFolder("work");
};

TEST_F(CliTest, NoCommandRunsBeforeInitAndTheRightPassword) {
  CliRun r = Do({"list"});
  EXPECT_EQ(r.code, 3);
  EXPECT_NE(r.err.find("the agreement has not been accepted yet"), std::string::npos) << r.err;

  // Without --accept-agreement and without a terminal the agreement is declined.
  r = Run({"init", "--password-stdin"}, kPassword);
  EXPECT_EQ(r.code, 3);
  EXPECT_NE(r.err.find("Agreement: Use this application at your own risk."), std::string::npos);
  EXPECT_EQ(Do({"list"}).code, 3);

  // Nothing, or a control character anywhere in the line, is refused.
  for (const std::string& line : {std::string("\n"), std::string("ab\0cd\n", 6),
                                  std::string("tab\tpw\n"), std::string("pw\r\n")}) {
    r = Run({"init", "--accept-agreement", "--password-stdin"}, line);
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.err.find(line == "\n" ? "Password: Please enter a password."
                                      : "Password: A password cannot contain control"),
              std::string::npos)
        << r.err;
  }
  r = Do({"list"});
  EXPECT_EQ(r.code, 3);
  EXPECT_NE(r.err.find("no password has been created yet"), std::string::npos) << r.err;

  Init();
  r = Run({"init", "--accept-agreement", "--password-stdin"}, "other\n");
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("a password already exists"), std::string::npos) << r.err;
  EXPECT_EQ(Run({"list", "--password-stdin"}, "other\n").code, 3);
  EXPECT_EQ(Run({"list", "--password-stdin"}, "PW\n").code, 3);
  EXPECT_EQ(Run({"list"}).code, 3);  // no terminal to ask on
  EXPECT_EQ(Run({"list", "--password-stdin"}, std::string("pw\0x\n", 5)).code, 3);
  // Only the first line is the password.
  EXPECT_EQ(Run({"list", "--password-stdin"}, "pw\nmore\n").code, 0);

  WriteText(home_.SettingsFile(),
            R"({"SOFTWARE\\TK": {"VeilboxFirstTime": "No", "VeilboxPassword": "damaged"}})");
  r = Do({"list"});
  EXPECT_EQ(r.code, 3);
  EXPECT_NE(r.err.find("Password: The stored password is damaged"), std::string::npos) << r.err;
}

TEST_F(CliTest, WrongUsageExitsTwo) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{},
                                             {"frobnicate"},
                                             {"add"},
                                             {"restore", "--encrypt", "x"},
                                             {"list", "--yes", "--no"},
                                             {"list", "--accept-agreement"},
                                             {"stores", "edit", "/"}}) {
    EXPECT_EQ(Run(args).code, 2) << (args.empty() ? "" : args[0]);
  }
  EXPECT_EQ(Run({"--help"}).code, 0);
}

TEST_F(CliTest, HidesWithEncryptedNamesAndBringsThemBack) {
  Init();
  WriteText(work_ / "Plans" / "notes.txt", "plain");
  WriteText(work_ / "Plans" / "sub" / "a.txt", "deep");
  fs::create_directories(work_ / "Empty");
  // Relative, with a trailing separator: the same rows as full paths.
  ASSERT_EQ(Do({"add", "Plans/", Path("Empty")}).code, 0);
  const std::string parent = work_.string() + "/";
  EXPECT_EQ(Do({"list"}).out,
            "Plans\t" + parent + "\tVisible\tNormal\nEmpty\t" + parent + "\tVisible\tNormal\n");

  CliRun r = Do({"hide", "--encrypt", "Plans", "Empty"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");  // no progress bar without a terminal
  EXPECT_FALSE(fs::exists(work_ / "Plans"));
  EXPECT_EQ(Mode(Store()), 0u);  // locked again after the command
  fs::permissions(Store(), fs::perms::owner_all);
  std::vector<std::string> names;
  for (const auto& e : fs::recursive_directory_iterator(Store() / "Plans")) {
    names.push_back(e.path().filename().string());
  }
  ASSERT_EQ(names.size(), 3u);
  for (const std::string& n : names) {
    if (n != "sub") {
      EXPECT_EQ(n.find_first_not_of("0123456789ABCDEF"), std::string::npos) << n;
    }
  }
  EXPECT_EQ(Do({"list"}).out,
            "Plans\t" + parent + "\tHidden\tEncrypted\nEmpty\t" + parent + "\tHidden\tEncrypted\n");

  // Hiding again counts as done.
  EXPECT_EQ(Do({"hide", "Plans"}).code, 0);
  r = Do({"restore", Path("Plans"), "Empty"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadText(work_ / "Plans" / "notes.txt"), "plain");
  EXPECT_EQ(ReadText(work_ / "Plans" / "sub" / "a.txt"), "deep");
  EXPECT_TRUE(fs::is_directory(work_ / "Empty"));
  EXPECT_EQ(Mode(Store()), 0u);

  // Remove restores a hidden folder first, and leaves visible ones in place.
  ASSERT_EQ(Do({"hide", "Plans"}).code, 0);
  EXPECT_EQ(Do({"remove", "Plans", "Empty"}).code, 0);
  EXPECT_EQ(Do({"list"}).out, "");
  EXPECT_EQ(ReadText(work_ / "Plans" / "notes.txt"), "plain");
  EXPECT_TRUE(fs::is_directory(work_ / "Empty"));
}

TEST_F(CliTest, ListAndStoresKeepEachRowOnOneLine) {
  Init();
  const std::string odd = "tab\there\nline\rback\\slash";
  const std::string escaped = "tab\\there\\nline\\rback\\\\slash";
  const std::string drive = PosixPlatform().DriveKey(work_.string());
  fs::create_directories(work_ / odd / odd);
  ASSERT_EQ(Do({"stores", "edit", drive, odd + "/Store"}).code, 0);
  ASSERT_EQ(Do({"add", odd + "/" + odd}).code, 0);
  EXPECT_EQ(Do({"list"}).out, escaped + "\t" + Path(escaped) + "/\tVisible\tNormal\n");
  EXPECT_EQ(Do({"stores"}).out, drive + "\t" + Path(escaped) + "/Store\n");
}

TEST_F(CliTest, AFolderNotInTheListIsReportedAndTheOthersStillRun) {
  Init();
  fs::create_directories(work_ / "A");
  fs::create_directories(work_ / "B");
  CliRun r = Do({"add", "A", "Missing"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find(Path("Missing") + " is not a folder"), std::string::npos) << r.err;
  r = Do({"hide", "B", "A"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find(Path("B") + " is not in the folder list"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(work_ / "A"));
  EXPECT_EQ(Mode(Store()), 0u);
}

TEST_F(CliTest, StoreFlagAnswersTheStoreSetUp) {
  Init();
  const std::string drive = PosixPlatform().DriveKey(work_.string());
  // Leave the list one store folder on another file system, so that the
  // work folder's drive has none. (No folder there may be chosen: the list
  // is written as an older copy could have.)
  PosixPlatform().WriteSetting(SettingsRoot::CurrentUser, "SOFTWARE\\TK", "VeilboxHideFolderPath",
                               Store().string() + "*/proc/veilbox-elsewhere*");
  ASSERT_EQ(Do({"--yes", "stores", "remove", drive}).code, 0);
  EXPECT_EQ(Do({"stores"}).out, "/proc/\t/proc/veilbox-elsewhere\n");
  fs::create_directories(work_ / "Plans");

  CliRun r = Do({"add", "Plans"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("New folder: The folder you want to hide has no hidden/locked folder setup "
                       "on its drive. Do you wish to create/select a hidden/locked folder on " +
                       drive + "?\n-> No\n"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(Do({"list"}).out, "");

  r = Do({"add", "--store", "Vault", "Plans"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Do({"stores"}).out,
            "/proc/\t/proc/veilbox-elsewhere\n" + drive + "\t" + Path("Vault") + "\n");
  ASSERT_EQ(Do({"hide", "Plans"}).code, 0);
  EXPECT_EQ(Mode(work_ / "Vault"), 0u);
  fs::permissions(work_ / "Vault", fs::perms::owner_all);
  EXPECT_TRUE(fs::is_directory(work_ / "Vault" / "Plans"));
}

TEST_F(CliTest, RestoreToFlagAnswersTheRelocation) {
  Init();
  WriteText(work_ / "Gone" / "Plans" / "a.txt", "x");
  fs::create_directories(work_ / "Else");
  ASSERT_EQ(Do({"add", "Gone/Plans"}).code, 0);
  ASSERT_EQ(Do({"hide", "Gone/Plans"}).code, 0);
  fs::remove(work_ / "Gone");

  CliRun r = Do({"--yes", "restore", "Gone/Plans"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("Restore: " + Path("Gone") +
                       "/ does not exist (or is hidden). Do you wish "
                       "to restore Plans to another folder?\n-> Yes\n"),
            std::string::npos)
      << r.err;
  // --yes cannot pick the folder: the chooser gives nothing, and choosing
  // again is not offered without a terminal.
  EXPECT_NE(r.err.find("Do you wish to choose again?\n-> No\n"), std::string::npos) << r.err;

  r = Do({"restore", "--restore-to", "Else", "Gone/Plans"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadText(work_ / "Else" / "Plans" / "a.txt"), "x");
  EXPECT_EQ(Do({"list"}).out, "Plans\t" + Path("Else") + "/\tVisible\tNormal\n");
}

TEST_F(CliTest, LockAndUnlockEveryStoreFolder) {
  Init();
  fs::create_directories(Store());
  EXPECT_EQ(Do({"unlock"}).code, 0);
  EXPECT_EQ(Mode(Store()), 0700u);
  EXPECT_EQ(Do({"lock"}).code, 0);
  EXPECT_EQ(Mode(Store()), 0u);
}

TEST_F(CliTest, StoresCommandsFollowThePreferencesRules) {
  Init();
  const std::string drive = PosixPlatform().DriveKey(work_.string());
  EXPECT_EQ(Do({"stores"}).out, drive + "\t" + Store().string() + "\n");

  CliRun r = Do({"stores", "add", "Other"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "Folder: " + drive + " already has a hidden/locked folder on it.\n");
  EXPECT_EQ(Do({"stores", "edit", "/nowhere", "Other"}).code, 1);

  ASSERT_EQ(Do({"stores", "edit", drive, "Other"}).code, 0);
  EXPECT_EQ(Do({"stores"}).out, drive + "\t" + Path("Other") + "\n");
  fs::create_directory_symlink(work_ / "Other", work_ / "Link");
  r = Do({"stores", "edit", drive, "Link"});
  EXPECT_EQ(r.err, "Folder: " + Path("Link") + " is a link. Please select another folder.\n");

  r = Do({"stores", "remove", drive});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "Remove: Are you sure you wish to remove " + Path("Other") +
                       " from the list?\n-> No\n");

  fs::create_directories(work_ / "Plans");
  ASSERT_EQ(Do({"add", "Plans"}).code, 0);
  r = Do({"--yes", "stores", "remove", drive});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find(drive + " is being used."), std::string::npos) << r.err;
  r = Do({"stores", "edit", drive, "Plans/Inner"});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(Do({"stores"}).out, drive + "\t" + Path("Other") + "\n");
}

TEST_F(CliTest, OnATerminalItAsksAndShowsProgress) {
  CliRun r = RunOnTerminal({"init"}, {{"[y]es/[n]o/[c]ancel? ", "y"},
                                      {"New password: ", "secret"},
                                      {"Type it again: ", "secret"}});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err.find("secret"), std::string::npos) << "the password was echoed";

  for (int i = 0; i < 300; ++i) WriteText(work_ / "Many" / std::to_string(i), "");
  ASSERT_EQ(Run({"add", "--password-stdin", Path("Many")}, "secret\n").code, 0);
  r = RunOnTerminal({"hide", "--encrypt", Path("Many")}, {{"Password: ", "secret"}});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.err.find(" of 300 files"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace veilbox::testing
