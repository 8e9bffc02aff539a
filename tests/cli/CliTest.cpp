// The real veilbox-cli in a private home: its gate, exit codes, flags, rows, the terminal.
#include <gtest/gtest.h>
#include <signal.h>

#include <iterator>
#include <sstream>

#include "cli/ExitCode.h"
#include "cli/RunCli.h"
#include "cli/StoreCommands.h"
#include "cli/StoreUnlock.h"
#include "platform/posix/PosixPlatform.h"
#include "support/HomeTest.h"

namespace veilbox::testing {
namespace {

namespace fs = std::filesystem;

bool Ends(const CliRun& r, int code, const std::string& message = "") {
  return r.code == code && r.err.find(message) != std::string::npos;
}

class CliTest : public HomeTest {
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
  fs::perms Store() const { return fs::status(home.ProgramFolder() / "Data").permissions(); }

  fs::path scratch_ = home.MakeFolder("scratch");
  fs::path work_ = home.MakeFolder("work");
  std::string drive_ = PosixPlatform().DriveKey(work_.string());
};

// The agreement and a password (standard input's first line) come first; else exit 3.
TEST_F(CliTest, NoCommandRunsBeforeInitAndTheRightPassword) {
  EXPECT_TRUE(Ends(Run({"init", "--password-stdin"}, "pw\n"), 3, "Agreement: "));
  EXPECT_TRUE(Ends(Do({"list"}), 3, "the agreement has not been accepted yet"));
  EXPECT_TRUE(Ends(Init("\n"), 3, "Password: "));
  EXPECT_TRUE(Ends(Do({"list"}), 3, "no password has been created yet"));

  ASSERT_TRUE(Ends(Init(), 0));
  EXPECT_TRUE(Ends(Init("other\n"), 1, "a password already exists"));
  EXPECT_TRUE(Ends(Run({"list", "--password-stdin"}, "PW\n"), 3, "Password: "));
  EXPECT_EQ(Run({"list"}).code, 3);  // no terminal to ask on
}

TEST_F(CliTest, WrongUsageExitsTwo) {
  for (const char* line : {"", "frobnicate", "add", "restore --encrypt x", "list --yes --no"}) {
    std::istringstream words(line);
    EXPECT_EQ(Run({std::istream_iterator<std::string>(words), {}}).code, 2) << line;
  }
  EXPECT_EQ(Run({"--help"}).code, 0);
}

// Folders named relatively or in full; the store folders unlocked only while a command needs them.
TEST_F(CliTest, HidesWithEncryptedNamesAndBringsThemBack) {
  ASSERT_TRUE(Ends(Init(), 0));
  WriteText(work_ / "Plans" / "notes.txt", "plain");
  fs::create_directories(work_ / "Empty");
  ASSERT_EQ(Do({"add", "Plans/", Path("Empty")}).code, 0);
  EXPECT_EQ(Do({"hide", "--encrypt", "Plans", "Empty"}).err, "");  // no progress bar, no failure
  EXPECT_EQ(Store(), fs::perms::none);
  const std::string row = "\t" + work_.string() + "/\tHidden\tEncrypted\n";
  EXPECT_EQ(Do({"list"}).out, "Plans" + row + "Empty" + row);
  for (const auto& [command, mode] : {std::pair("unlock", fs::perms::owner_all), {"lock", {}}})
    EXPECT_EQ((std::pair{Do({command}).code, Store()}), std::pair(0, mode)) << command;

  EXPECT_TRUE(Ends(Do({"restore", Path("Plans"), "Empty"}), 0));
  EXPECT_EQ(ReadText(work_ / "Plans" / "notes.txt"), "plain");
}

TEST_F(CliTest, ListAndStoresKeepEachRowOnOneLine) {
  ASSERT_TRUE(Ends(Init(), 0));
  // Controls of every kind, C1 too (another account's names in a shared folder).
  const std::string odd = "tab\there\nline\rback\\slash\x1b[2J\x7f\xc2\x9b\xc3\xa9";
  const std::string escaped = "tab\\there\\nline\\rback\\\\slash\\x1b[2J\\x7f\\xc2\\x9b\xc3\xa9";
  fs::create_directories(work_ / odd / odd);
  ASSERT_EQ(Do({"stores", "edit", drive_, odd + "/Store"}).code, 0);
  ASSERT_EQ(Do({"add", odd + "/" + odd}).code, 0);
  EXPECT_EQ(Do({"list"}).out, escaped + "\t" + Path(escaped) + "/\tVisible\tNormal\n");
  EXPECT_EQ(Do({"stores"}).out, drive_ + "\t" + Path(escaped) + "/Store\n");
  // Messages keep their line ends, but never a control that drives the terminal.
  const CliRun hide = Do({"hide", odd});
  EXPECT_TRUE(Ends(hide, 1, "\\x1b[2J\\x7f\\xc2\\x9b\xc3\xa9 is not in the folder list"));
  EXPECT_EQ(hide.err.find_first_of("\x1b\x7f"), std::string::npos);
}

// A question is told on standard error with its answer (No unless --yes); a row not done exits 1.
TEST_F(CliTest, FlagsAnswerTheQuestionsAndAnyRowNotDoneExitsOne) {
  ASSERT_TRUE(Ends(Init(), 0));
  platform.second_drive.clear();  // a session in this process, on the program's drives
  StartSession();
  ASSERT_TRUE(session.LogIn("pw") && session.Open());
  fs::create_directories(work_ / "A");
  EXPECT_TRUE(Ends(Do({"add", "A", "Missing"}), 1, Path("Missing") + " is not a folder"));
  EXPECT_TRUE(Ends(Do({"hide", "B", "A"}), 1, Path("B") + " is not in the folder list"));
  EXPECT_FALSE(fs::exists(work_ / "A"));

  // This process read the list before A: read again, A's store folder is not removed, unasked.
  cli::Terminal terminal;
  cli::TerminalDialogue yes(terminal, {true, false, {}, {}});
  const char* const argv[] = {"veilbox-cli", "stores", "remove", drive_.c_str()};
  EXPECT_EQ(cli::StoresCommand(session, yes, std::get<cli::Options>(cli::ParseOptions(4, argv))),
            cli::kNotAllDone);
  // A command's hold: the store folders unlocked and Ctrl-C held back until it ends.
  const auto held = [&] {
    sigset_t mask;
    return std::pair{Store(),
                     sigprocmask(SIG_BLOCK, nullptr, &mask) == 0 && sigismember(&mask, SIGINT)};
  };
  {
    cli::StoreUnlock unlocked(session);
    EXPECT_EQ(held(), std::pair(fs::perms::owner_all, true));
  }
  {
    cli::StoreUnlock unlocked(session);
    unlocked.Relock();  // as a command's moves end, before it reports
    EXPECT_EQ(held(), std::pair(fs::perms::none, false));
  }
  { const cli::EndingSignalsHeld opening; }  // as while the session opens
  EXPECT_EQ(held(), std::pair(fs::perms::none, false));
  ASSERT_TRUE(Ends(Do({"restore", "A"}), 0));

  // Removing the store folder is asked, and without --yes the answer is No.
  ASSERT_EQ(Do({"remove", "A"}).code, 0);
  EXPECT_TRUE(Ends(Do({"stores", "remove", drive_}), 1, "?\n-> No\n"));
}

TEST_F(CliTest, OnATerminalItAsksWithoutEchoingThePassword) {
  EXPECT_EQ(RunOnTerminal({"init"}, {{"[y]es/[n]o/[c]ancel? ", "n"}}).code, 3);
  // An answer the question does not offer asks again.
  CliRun r = RunOnTerminal({"init"}, {{"[y]es/[n]o/[c]ancel? ", "ok"},
                                      {"[y]es/[n]o/[c]ancel? ", "y"},
                                      {"New password: ", "secret"},
                                      {"Type it again: ", "secret"}});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err.find("secret"), std::string::npos) << "the password was echoed";

  // Ctrl-C at the password prompt ends the run with the terminal's echo back on.
  r = RunOnTerminal({"list"}, {{"Password: ", "\x03"}});
  EXPECT_EQ(std::pair(r.code, r.echo), std::pair(-1, true));
}

}  // namespace
}  // namespace veilbox::testing
