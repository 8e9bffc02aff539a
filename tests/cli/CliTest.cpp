#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <tuple>

#include "cli/RunCli.h"
#include "platform/posix/PosixPlatform.h"
#include "support/TempHome.h"

namespace veilbox::testing {
namespace {

namespace fs = std::filesystem;

// Whether the run exited with code and its error output holds message (or,
// when whole, is exactly message).
::testing::AssertionResult Ends(const CliRun& r, int code, const std::string& message = "",
                                bool whole = false) {
  const bool said = whole ? r.err == message : r.err.find(message) != std::string::npos;
  return (r.code == code && said ? ::testing::AssertionSuccess() : ::testing::AssertionFailure())
         << "exit code " << r.code << ", error output:\n"
         << r.err;
}

class CliTest : public ::testing::Test {
 protected:
  CliRun Run(std::vector<std::string> args, const std::string& input = "") {
    return RunCli(args, input, scratch_, work_);
  }
  // A command after the right password.
  CliRun Do(std::vector<std::string> args) {
    args.insert(args.begin(), "--password-stdin");
    return Run(args, "pw\n");
  }
  CliRun Init(const std::string& password_line = "pw\n") {
    return Run({"init", "--accept-agreement", "--password-stdin"}, password_line);
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
  std::string drive_ = PosixPlatform().DriveKey(work_.string());
};

// The gate: the agreement and a password come first, a wrong or damaged
// password ends the run with 3, and only the first line of standard input is
// the password.
TEST_F(CliTest, NoCommandRunsBeforeInitAndTheRightPassword) {
  EXPECT_TRUE(Ends(Run({"init", "--password-stdin"}, "pw\n"), 3, "Agreement: "));
  EXPECT_TRUE(Ends(Do({"list"}), 3, "the agreement has not been accepted yet"));
  EXPECT_TRUE(Ends(Init("\n"), 3, "Password: Please enter a password."));
  EXPECT_TRUE(Ends(Do({"list"}), 3, "no password has been created yet"));

  ASSERT_TRUE(Ends(Init(), 0));
  EXPECT_TRUE(Ends(Init("other\n"), 1, "a password already exists"));
  EXPECT_EQ(Run({"list", "--password-stdin"}, "PW\n").code, 3);
  EXPECT_EQ(Run({"list"}).code, 3);  // no terminal to ask on
  EXPECT_EQ(Run({"list", "--password-stdin"}, "pw\nmore\n").code, 0);

  WriteText(home_.SettingsFile(),
            R"({"SOFTWARE\\TK": {"VeilboxFirstTime": "No", "VeilboxPassword": "damaged"}})");
  EXPECT_TRUE(Ends(Do({"list"}), 3, "Password: The stored password is damaged"));
}

// A program folder or a file in it that another account could have
// written, and settings that cannot be read, stop every command before it
// reads anything; nothing is changed.
TEST_F(CliTest, APlaceOthersCanChangeOrThatCannotBeReadStopsEveryCommand) {
  ASSERT_TRUE(Ends(Init(), 0));
  const fs::path program = home_.ProgramFolder();
  const fs::path moved = home_.Root() / "moved";
  const fs::path settings = home_.SettingsFile();
  const std::vector<std::tuple<std::string, std::function<void()>, std::function<void()>>> cases{
      {program.string() + ": it can be changed by other users (its mode is 0777)",
       [&] { fs::permissions(program, fs::perms(0777)); },
       [&] { fs::permissions(program, fs::perms(0700)); }},
      {"Cannot read " + settings.string() + ": Is a directory",
       [&] {
         fs::rename(settings, moved);
         fs::create_directory(settings);
       },
       [&] {
         fs::remove(settings);
         fs::rename(moved, settings);
       }}};
  for (const auto& [said, spoil, mend] : cases) {
    spoil();
    EXPECT_TRUE(Ends(Do({"list"}), 3, said));
    EXPECT_TRUE(Ends(Init(), 3, said));
    mend();
    EXPECT_TRUE(Ends(Do({"list"}), 0));
  }
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
  ASSERT_TRUE(Ends(Init(), 0));
  WriteText(work_ / "Plans" / "notes.txt", "plain");
  WriteText(work_ / "Plans" / "sub" / "a.txt", "deep");
  fs::create_directories(work_ / "Empty");
  // Relative, with a trailing separator: the same rows as full paths.
  ASSERT_EQ(Do({"add", "Plans/", Path("Empty")}).code, 0);
  const auto rows = [&](const std::string& status) {
    const std::string row = "\t" + work_.string() + "/\t" + status + "\n";
    return "Plans" + row + "Empty" + row;
  };
  EXPECT_EQ(Do({"list"}).out, rows("Visible\tNormal"));

  EXPECT_TRUE(Ends(Do({"hide", "--encrypt", "Plans", "Empty"}), 0, "", true));  // no progress bar
  EXPECT_FALSE(fs::exists(work_ / "Plans"));
  EXPECT_EQ(Mode(Store()), 0u);  // locked again after the command
  EXPECT_EQ(Do({"list"}).out, rows("Hidden\tEncrypted"));
  // unlock opens every store folder to its owner, lock closes it again.
  ASSERT_EQ(Do({"unlock"}).code, 0);
  EXPECT_EQ(Mode(Store()), 0700u);
  size_t entries = 0;
  for (const auto& e : fs::recursive_directory_iterator(Store() / "Plans")) {
    const std::string name = e.path().filename().string();
    if (name != "sub") {
      EXPECT_EQ(name.find_first_not_of("0123456789ABCDEF"), std::string::npos) << name;
    }
    ++entries;
  }
  EXPECT_EQ(entries, 3u);
  EXPECT_EQ(Do({"lock"}).code, 0);
  EXPECT_EQ(Mode(Store()), 0u);

  EXPECT_EQ(Do({"hide", "Plans"}).code, 0);  // hiding again counts as done
  EXPECT_TRUE(Ends(Do({"restore", Path("Plans"), "Empty"}), 0));
  EXPECT_EQ(ReadText(work_ / "Plans" / "notes.txt"), "plain");
  EXPECT_EQ(ReadText(work_ / "Plans" / "sub" / "a.txt"), "deep");
  EXPECT_TRUE(fs::is_directory(work_ / "Empty"));

  // Remove restores a hidden folder first, and leaves visible ones in place.
  ASSERT_EQ(Do({"hide", "Plans"}).code, 0);
  EXPECT_EQ(Do({"remove", "Plans", "Empty"}).code, 0);
  EXPECT_EQ(Do({"list"}).out, "");
  EXPECT_EQ(ReadText(work_ / "Plans" / "notes.txt"), "plain");
  EXPECT_TRUE(fs::is_directory(work_ / "Empty"));
}

TEST_F(CliTest, ListAndStoresKeepEachRowOnOneLine) {
  ASSERT_TRUE(Ends(Init(), 0));
  // Controls of every kind, as another account could put in a shared folder,
  // and a byte that is not UTF-8.
  const std::string odd = "tab\there\nline\rback\\slash\x1b[2J\x7f\xc2\x9b\xc3\xa9";
  const std::string escaped = "tab\\there\\nline\\rback\\\\slash\\x1b[2J\\x7f\\xc2\\x9b\xc3\xa9";
  fs::create_directories(work_ / odd / (odd + "\xff"));
  ASSERT_EQ(Do({"stores", "edit", drive_, odd + "/Store"}).code, 0);
  ASSERT_EQ(Do({"add", odd + "/" + odd + "\xff"}).code, 0);
  EXPECT_EQ(Do({"list"}).out, escaped + "\\xff\t" + Path(escaped) + "/\tVisible\tNormal\n");
  EXPECT_EQ(Do({"stores"}).out, drive_ + "\t" + Path(escaped) + "/Store\n");
  // Messages keep their line ends, but never a control that drives the terminal.
  const CliRun hide = Do({"hide", odd});
  EXPECT_TRUE(Ends(hide, 1, "\\x1b[2J\\x7f\\xc2\\x9b\xc3\xa9 is not in the folder list"));
  EXPECT_EQ(hide.err.find_first_of("\x1b\x7f"), std::string::npos);
}

// A question is told on standard error with the answer taken: No unless
// --yes, or the folder a flag names; a row that did not end as asked makes
// the exit code 1 while the other rows still run.
TEST_F(CliTest, FlagsAnswerTheQuestionsAndAnyRowNotDoneExitsOne) {
  ASSERT_TRUE(Ends(Init(), 0));
  fs::create_directories(work_ / "A");
  EXPECT_TRUE(Ends(Do({"add", "A", "Missing"}), 1, Path("Missing") + " is not a folder"));
  EXPECT_TRUE(Ends(Do({"hide", "B", "A"}), 1, Path("B") + " is not in the folder list"));
  EXPECT_FALSE(fs::exists(work_ / "A"));
  EXPECT_EQ(Mode(Store()), 0u);
  ASSERT_TRUE(Ends(Do({"restore", "A"}), 0));

  // Removing the drive's store folder: refused while a row uses it, and
  // asked, No unless --yes.
  EXPECT_TRUE(Ends(Do({"--yes", "stores", "remove", drive_}), 1, drive_ + " is being used."));
  ASSERT_EQ(Do({"remove", "A"}).code, 0);
  EXPECT_TRUE(Ends(Do({"stores", "remove", drive_}), 1, "?\n-> No\n"));
  // (A store folder left on another drive keeps the list from being empty,
  // which start-up would fill again.)
  PosixPlatform().WriteSetting(SettingsRoot::CurrentUser, "SOFTWARE\\TK", "VeilboxHideFolderPath",
                               Store().string() + "*/proc/veilbox-elsewhere*");
  ASSERT_EQ(Do({"--yes", "stores", "remove", drive_}).code, 0);
  const std::string elsewhere = "/proc/\t/proc/veilbox-elsewhere\n";
  EXPECT_EQ(Do({"stores"}).out, elsewhere);

  // --store: the folder for a drive without one.
  EXPECT_TRUE(Ends(Do({"add", "A"}), 1, "-> No\n"));
  EXPECT_TRUE(Ends(Do({"add", "--store", "Vault", "A"}), 0));
  EXPECT_EQ(Do({"stores"}).out, elsewhere + drive_ + "\t" + Path("Vault") + "\n");

  // --restore-to: the folder for a row whose place is gone; --yes alone
  // cannot choose one.
  WriteText(work_ / "Gone" / "Plans" / "a.txt", "x");
  fs::create_directories(work_ / "Else");
  ASSERT_EQ(Do({"add", "Gone/Plans"}).code, 0);
  ASSERT_EQ(Do({"hide", "Gone/Plans"}).code, 0);
  fs::remove(work_ / "Gone");
  EXPECT_TRUE(
      Ends(Do({"--yes", "restore", "Gone/Plans"}), 1, "Do you wish to choose again?\n-> No\n"));
  EXPECT_TRUE(Ends(Do({"restore", "--restore-to", "Else", "Gone/Plans"}), 0));
  EXPECT_EQ(ReadText(work_ / "Else" / "Plans" / "a.txt"), "x");
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
  EXPECT_TRUE(Ends(r, 0, " of 300 files"));
}

}  // namespace
}  // namespace veilbox::testing
