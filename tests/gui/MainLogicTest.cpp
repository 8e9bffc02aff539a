// The main window's logic after the password: what the lock state and the
// ticks enable, the commands behind the buttons and menus with the progress,
// status line and cursor of their passes, commands that arrive during a
// pass, and the lock question when the window closes.
#include "LogicFixture.h"
#include "cli/RunCli.h"
#include "engine/UnlockMarker.h"
#include "gui/PassProgress.h"
#include "store/FolderRecord.h"

namespace veilbox::testing {
namespace {

using MainLogic = LogicTest;
using enum MainControl;

// The controls of the actions group and of the status group.
void ExpectEnabled(const FakeMain& w, bool actions, bool status_group) {
  for (MainControl c :
       {lstFolders, fraAction, cmdAdd, cmdRemove, mnuAdd, mnuRemove, mnuPreferences, mnuLockFolder})
    EXPECT_EQ(w.enabled.at(c), actions) << static_cast<int>(c);
  for (MainControl c :
       {fraStatus, lblStatus, cmbStatus, chkEncrypt, mnuHidden, mnuVisible, mnuEncryptfilenames})
    EXPECT_EQ(w.enabled.at(c), status_group) << static_cast<int>(c);
  EXPECT_EQ(w.enabled.at(mnuUnlockFolder), !actions);
  EXPECT_EQ(w.lock_caption, actions ? "Lock folder" : "Unlock folder");
}

// The store folders are open exactly while the window is unlocked; ticks
// turn the status group on only after an unlock, and a lock keeps them.
TEST_F(MainLogic, LockStateAndTicksDecideWhatIsEnabled) {
  const fs::path store = home.MakeFolder("program/Data");
  WriteText(home.ProgramFolder() / "Dat.sys", "A</x/<Visible<Normal<A*B</x/<Visible<Normal<B*\r\n");
  StartLoggedIn();
  fs::permissions(store, fs::perms::none);
  const std::function<void()> lock = [&] { window->logic.cmdUnlockFolder_Click(); };
  const auto tick = [&](size_t row) { return [this, row] { window->Tick(row); }; };
  const struct {
    const char* what;
    std::function<void()> act;
    bool actions, status_group;
    std::vector<bool> ticks;
  } steps[] = {
      {"opened", [] {}, false, false, {false, false}},
      {"unlocked", lock, true, false, {false, false}},
      {"row 1 ticked", tick(1), true, true, {false, true}},
      {"row 0 ticked too", tick(0), true, true, {true, true}},
      {"row 1 cleared", tick(1), true, true, {true, false}},
      {"locked: ticks kept", lock, false, false, {true, false}},
      {"unlocked: ticks cleared", lock, true, false, {false, false}},
      {"a tick, then none", [&] { window->Tick(0), window->Tick(0); }, true, false, {false, false}},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    step.act();
    ExpectEnabled(*window, step.actions, step.status_group);
    EXPECT_EQ(window->ticks, step.ticks);
    EXPECT_EQ(fs::status(store).permissions(),
              step.actions ? fs::perms::owner_all : fs::perms::none);
  }
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MainLogic, EncryptFilenamesKeepsBoxAndMenuTogether) {
  StartUnlocked();
  for (bool on : {true, false}) {
    window->logic.mnuEncryptfilenames_Click();
    EXPECT_EQ(std::pair(window->encrypt, window->encrypt_menu), std::pair(on, on));
  }
  window->encrypt = true;  // the user ticks the box
  window->logic.chkEncrypt_Click();
  EXPECT_TRUE(window->encrypt_menu);
}

// A hide (chosen in the drop-down) and a restore (from the menu) of the
// ticked row each show a bar from 0, a status line naming the folder and the
// count, and the busy cursor, all cleared at the pass's end; then Remove
// takes the row off the list, and a cancelled chooser adds nothing.
TEST_F(MainLogic, APassShowsItsProgressAndClearsItAtTheEnd) {
  const fs::path plans = home.MakeFolder("user/Plans");
  for (const char* name : {"a.txt", "b.txt", "sub/c.txt"}) WriteText(plans / name, "x");
  StartUnlocked();
  Add(plans);
  Add(home.MakeFolder("user/Notes"));
  ASSERT_EQ(window->rows.size(), 2u);
  EXPECT_EQ(boxes.chooser_titles, std::vector<std::string>(2, "Select Folder..."));

  for (const std::string status : {kHidden, kVisible}) {
    SCOPED_TRACE(status);
    const std::string verb = status == kHidden ? "Hiding Plans" : "Restoring Plans";
    window->progress.clear(), window->lines.clear(), window->busy.clear();
    window->Tick(0);
    window->encrypt = true;
    if (status == kHidden) {
      window->status_choice = status;
      window->logic.cmbStatus_Click();
    } else {
      window->logic.mnuVisible_Click();
    }
    EXPECT_EQ(window->status_choice, status);
    EXPECT_EQ(window->rows[0].status, status);
    EXPECT_EQ(window->rows[1].status, kVisible) << "an unticked row stays";
    EXPECT_EQ(window->ticks, (std::vector<bool>{false, false})) << "the reload clears the ticks";
    EXPECT_EQ(window->progress,
              (std::vector<std::pair<long, long>>{{0, 0}, {0, 3}, {1, 3}, {2, 3}, {3, 3}, {0, 0}}));
    EXPECT_EQ(window->lines,
              (std::vector<std::string>{verb, verb + ": 0 of 3 files", verb + ": 1 of 3 files",
                                        verb + ": 2 of 3 files", verb + ": 3 of 3 files", ""}));
    EXPECT_EQ(window->busy, (std::vector<bool>{true, false}));
  }
  EXPECT_EQ(ReadText(plans / "sub" / "c.txt"), "x");

  window->Tick(0);
  window->logic.cmdRemove_Click();
  window->logic.cmdAdd_Click();
  ASSERT_EQ(window->rows.size(), 1u);
  EXPECT_EQ(window->rows[0].folder, "Notes");
  EXPECT_TRUE(boxes.boxes.empty());
}

// A box during a pass shows the normal cursor; the busy one comes back.
TEST_F(MainLogic, BoxesDuringAPassShowTheNormalCursor) {
  dialogue.BeginPass("Plans");
  boxes.Answers({Answer::No});
  dialogue.Ask(ask::LockOnClose{});
  dialogue.ChooseFolder(FolderChoice::Folder, "/x");
  dialogue.EndPass();
  dialogue.Tell("Done", "Notice");
  EXPECT_EQ(boxes.busy_at_box, (std::vector<bool>{false, false}));
  EXPECT_EQ(window->busy, (std::vector<bool>{true, false, true, false, true, false}));
}

// Commands that arrive while a pass lets events run wait for its end, then
// run in order: Remove (with no row ticked any more), the lock, the close,
// which, locked, asks nothing.
TEST_F(MainLogic, CommandsDuringAPassWaitForItsEnd) {
  const fs::path plans = home.MakeFolder("user/Plans");
  WriteText(plans / "a.txt", "a");
  const fs::path store = home.MakeFolder("program/Data");
  StartUnlocked();
  Add(plans);
  window->Tick(0);
  window->encrypt = true;  // the filename pass lets events run
  boxes.during_pump = [&] {
    window->logic.cmdRemove_Click();
    window->logic.cmdUnlockFolder_Click();
    EXPECT_TRUE(window->logic.Form_QueryUnload()) << "the window stays open for now";
    EXPECT_EQ(window->lock_caption, "Lock folder") << "nothing ran yet";
  };
  window->logic.mnuHidden_Click();

  EXPECT_FALSE(boxes.during_pump) << "the pass let events run";
  ASSERT_EQ(window->rows.size(), 1u);
  EXPECT_EQ(window->rows[0].status, kHidden);
  EXPECT_EQ(window->lock_caption, "Unlock folder");
  EXPECT_EQ(fs::status(store).permissions(), fs::perms::none);
  EXPECT_TRUE(window->ended);
  EXPECT_TRUE(boxes.boxes.empty());
}

// Unlocked, the close box and File > Exit ask; only the close box stays open
// on Cancel, and only Yes locks the store folders.
TEST_F(MainLogic, TheLockQuestionAtTheCloseBoxAndThroughFileExit) {
  for (const auto& [exit_menu, answer, ends] :
       std::vector<std::tuple<bool, Answer, bool>>{{false, Answer::Cancel, false},
                                                   {false, Answer::No, true},
                                                   {false, Answer::Yes, true},
                                                   {true, Answer::Cancel, true},
                                                   {true, Answer::No, true},
                                                   {true, Answer::Yes, true}}) {
    SCOPED_TRACE(::testing::Message()
                 << "File > Exit " << exit_menu << ", answer " << static_cast<int>(answer));
    NewWindow();
    boxes.boxes.clear();
    const fs::path store = home.MakeFolder("program/Data");
    StartUnlocked();
    boxes.Answers({answer});
    if (exit_menu) {
      window->logic.mnuExit_Click();
    } else {
      EXPECT_EQ(window->logic.Form_QueryUnload(), !ends);
    }
    ASSERT_EQ(boxes.boxes.size(), 1u);
    const ShownBox& box = boxes.boxes[0];
    EXPECT_EQ(std::tie(box.text, box.title, box.buttons),
              std::tuple("Do you wish to lock the folder?", "Lock", Buttons::YesNoCancel));
    EXPECT_EQ(window->ended, ends);
    EXPECT_EQ(fs::status(store).permissions() == fs::perms::none, answer == Answer::Yes);
    // Held by the window still, or left to the user: never locked by a later start.
    EXPECT_EQ(fs::exists(UnlockMarkerPath(session)), answer != Answer::Yes);
    fs::remove(UnlockMarkerPath(session));  // the next start is of a new process
    fs::permissions(store, fs::perms::owner_all);
  }
}

// Two copies: while the window holds the store folders unlocked,
// veilbox-cli hides a folder and leaves them unlocked for the window, whose
// next hide works; a lock by veilbox-cli shows in the window when it is
// activated again.
TEST_F(MainLogic, AnotherCopyLeavesTheStoreFoldersAsTheWindowHoldsThem) {
  const fs::path plans = home.MakeFolder("user/Plans");
  const fs::path notes = home.MakeFolder("user/Notes");
  const fs::path store = home.ProgramFolder() / "Data";
  StartUnlocked();
  Add(plans);
  Add(notes);
  const fs::path scratch = home.MakeFolder("scratch");
  const auto cli = [&](const std::string& command, const std::string& folder = "") {
    std::vector<std::string> args{"--password-stdin", command};
    if (!folder.empty()) args.push_back(folder);
    return RunCli(args, "secret\n", scratch).code;
  };
  EXPECT_EQ(cli("hide", plans.string()), 0);
  EXPECT_EQ(fs::status(store).permissions() & fs::perms::owner_all, fs::perms::owner_all);
  window->Tick(1);
  window->status_choice = kHidden;
  window->logic.cmbStatus_Click();
  EXPECT_TRUE(boxes.boxes.empty()) << boxes.boxes.front().text;
  ASSERT_EQ(window->rows.size(), 2u);
  EXPECT_EQ(window->rows[0].status, kHidden) << "the other copy's hide shows";
  EXPECT_EQ(window->rows[1].status, kHidden);

  EXPECT_EQ(cli("lock"), 0);
  EXPECT_EQ(window->lock_caption, "Lock folder");
  window->logic.Form_Activate();
  EXPECT_EQ(window->lock_caption, "Unlock folder");
  EXPECT_EQ(fs::status(store).permissions(), fs::perms::none);
}

// 12345 reads "12,345"; 200,000 files redraw the window 1,001 times.
TEST(MainPassProgress, GroupsDigitsAndRedrawsOnlyWhenTheBarMoves) {
  for (const auto& [number, text] : std::vector<std::pair<long, std::string>>{
           {0, "0"}, {999, "999"}, {1000, "1,000"}, {12345, "12,345"}, {1234567, "1,234,567"}}) {
    EXPECT_EQ(GroupedDigits(number), text);
  }
  PassProgress progress;
  progress.SetVerb("Hiding");
  progress.Begin("Plans");
  int redraws = 0;
  for (long done = 0; done <= 200000; ++done) redraws += progress.Progress(done, 200000) ? 1 : 0;
  EXPECT_EQ(redraws, 1001);
  EXPECT_EQ(progress.Progress(1, 1)->line, "Hiding Plans: 1 of 1 file");
}

}  // namespace
}  // namespace veilbox::testing
