// The main window's logic after the password: what the lock state and the
// ticks enable, the commands behind the buttons and menus with the progress,
// status line and cursor of their passes, commands that arrive during a
// pass, and the lock question when the window closes.
#include "LogicFixture.h"
#include "engine/StatusChange.h"
#include "engine/UnlockMarker.h"
#include "gui/PassProgress.h"

namespace veilbox::testing {
namespace {

using MainLogic = LogicTest;
using enum MainControl;

// The controls each group holds, and which groups a step leaves enabled.
const std::vector<MainControl> kActions = {lstFolders, fraAction, cmdAdd,         cmdRemove,
                                           mnuAdd,     mnuRemove, mnuPreferences, mnuLockFolder};
const std::vector<MainControl> kStatusGroup = {
    fraStatus, lblStatus, cmbStatus, chkEncrypt, mnuHidden, mnuVisible, mnuEncryptfilenames};

void ExpectEnabled(const FakeMain& w, bool actions, bool status_group) {
  for (MainControl c : kActions) EXPECT_EQ(w.enabled.at(c), actions) << static_cast<int>(c);
  for (MainControl c : kStatusGroup) EXPECT_EQ(w.enabled.at(c), status_group);
  EXPECT_EQ(w.enabled.at(mnuUnlockFolder), !actions);
  EXPECT_EQ(w.lock_caption, actions ? "Lock folder" : "Unlock folder");
}

TEST_F(MainLogic, LockStateAndTicksDecideWhatIsEnabled) {
  const fs::path store = home.MakeFolder("program/Data");
  WriteText(home.ProgramFolder() / "Dat.sys", "A</x/<Visible<Normal<A*B</x/<Visible<Normal<B*\r\n");
  StartLoggedIn();
  fs::permissions(store, fs::perms::none);
  struct Step {
    const char* what;
    std::function<void()> act;
    bool actions, status_group;
    std::vector<bool> ticks;
  };
  const std::vector<Step> steps = {
      {"opened", [] {}, false, false, {false, false}},
      {"unlocked", [&] { window->logic.cmdUnlockFolder_Click(); }, true, false, {false, false}},
      {"row 1 ticked", [&] { window->Tick(1); }, true, true, {false, true}},
      {"row 0 ticked too", [&] { window->Tick(0); }, true, true, {true, true}},
      {"row 1 cleared", [&] { window->Tick(1); }, true, true, {true, false}},
      {"locked: ticks kept",
       [&] { window->logic.cmdUnlockFolder_Click(); },
       false,
       false,
       {true, false}},
      {"unlocked: ticks cleared",
       [&] { window->logic.cmdUnlockFolder_Click(); },
       true,
       false,
       {false, false}},
      {"a tick, then none", [&] { window->Tick(0), window->Tick(0); }, true, false, {false, false}},
  };
  for (const Step& step : steps) {
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

// A hide and a restore each show a bar from 0, a status line naming the
// folder and the count, and the busy cursor, all cleared at the pass's end.
TEST_F(MainLogic, APassShowsItsProgressAndClearsItAtTheEnd) {
  const fs::path plans = home.MakeFolder("user/Plans");
  for (const char* name : {"a.txt", "b.txt", "sub/c.txt"}) WriteText(plans / name, "x");
  const fs::path notes = home.MakeFolder("user/Notes");
  StartUnlocked();
  Add(plans);
  Add(notes);
  ASSERT_EQ(window->rows.size(), 2u);
  EXPECT_EQ(boxes.chooser_titles,
            (std::vector<std::string>{"Select Folder...", "Select Folder..."}));

  for (const char* status : {kStatusHidden, kStatusVisible}) {
    SCOPED_TRACE(status);
    const bool hide = std::string(status) == kStatusHidden;
    const std::string verb = hide ? "Hiding Plans" : "Restoring Plans";
    window->progress.clear();
    window->lines.clear();
    window->busy.clear();
    window->Tick(0);
    window->encrypt = true;
    if (hide) {
      window->Choose(status);
    } else {
      window->logic.mnuVisible_Click();
    }
    EXPECT_EQ(window->status_choice, status);
    EXPECT_EQ(window->rows[0].status, status);
    EXPECT_EQ(window->rows[1].status, kStatusVisible) << "an unticked row stays";
    EXPECT_EQ(window->ticks, (std::vector<bool>{false, false})) << "the reload clears the ticks";
    EXPECT_EQ(window->progress,
              (std::vector<std::pair<long, long>>{{0, 0}, {0, 3}, {1, 3}, {2, 3}, {3, 3}, {0, 0}}));
    EXPECT_EQ(window->lines,
              (std::vector<std::string>{verb, verb + ": 0 of 3 files", verb + ": 1 of 3 files",
                                        verb + ": 2 of 3 files", verb + ": 3 of 3 files", ""}));
    EXPECT_EQ(window->busy, (std::vector<bool>{true, false}));
  }
  EXPECT_EQ(ReadText(plans / "sub" / "c.txt"), "x");

  // Remove takes the row off the list; a cancelled chooser adds nothing.
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
  dialogue.Ask("Go on?", "Question", Icon::Question, Buttons::YesNo);
  EXPECT_EQ(dialogue.ChooseFolderAt("Select Folder...", "/x"), "");
  dialogue.EndPass();
  dialogue.Tell("Done", "Notice");
  EXPECT_EQ(boxes.busy_at_box, (std::vector<bool>{false, false}));
  EXPECT_EQ(window->busy, (std::vector<bool>{true, false, true, false, true, false}));
  EXPECT_EQ(boxes.chooser_starts, std::vector<std::string>{"/x"});
}

// Commands that arrive while a pass lets events run wait for its end, then
// run in order: Remove (with no row ticked any more), the lock, the close.
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
  EXPECT_EQ(window->rows[0].status, kStatusHidden);
  EXPECT_EQ(window->lock_caption, "Unlock folder");
  EXPECT_EQ(fs::status(store).permissions(), fs::perms::none);
  EXPECT_TRUE(window->ended) << "the close ran last, locked: no question";
  EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MainLogic, TheLockQuestionAtTheCloseBoxAndThroughFileExit) {
  struct Case {
    bool exit_menu;
    Answer answer;
    bool ends;
  };
  for (const Case c : {Case{false, Answer::Cancel, false}, Case{false, Answer::No, true},
                       Case{false, Answer::Yes, true}, Case{true, Answer::Cancel, true},
                       Case{true, Answer::No, true}, Case{true, Answer::Yes, true}}) {
    SCOPED_TRACE(std::string(c.exit_menu ? "File > Exit, " : "close box, ") +
                 std::to_string(static_cast<int>(c.answer)));
    const fs::path store = home.MakeFolder("program/Data");
    StartUnlocked();
    boxes.Answers({c.answer});
    if (c.exit_menu) {
      window->logic.mnuExit_Click();
    } else {
      EXPECT_EQ(window->logic.Form_QueryUnload(), !c.ends);
    }
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Do you wish to lock the folder?");
    EXPECT_EQ(boxes.boxes[0].title, "Lock");
    EXPECT_EQ(boxes.boxes[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(window->ended, c.ends);
    EXPECT_EQ(fs::status(store).permissions() == fs::perms::none, c.answer == Answer::Yes);
    EXPECT_EQ(fs::exists(UnlockMarkerPath(state)), !c.ends);
    fs::permissions(store, fs::perms::owner_all);
    boxes.boxes.clear();
    NewWindow();
  }
  // Locked, the window closes without a question.
  StartLoggedIn();
  EXPECT_FALSE(window->logic.Form_QueryUnload());
  EXPECT_TRUE(window->ended);
  EXPECT_TRUE(boxes.boxes.empty());
}

// 12345 reads "12,345"; 200,000 files redraw the window 1,001 times.
TEST(MainPassProgress, GroupsDigitsAndRedrawsOnlyWhenTheBarMoves) {
  const std::vector<long> numbers = {0, 999, 1000, 12345, 1234567};
  const std::vector<std::string> texts = {"0", "999", "1,000", "12,345", "1,234,567"};
  for (size_t i = 0; i < numbers.size(); ++i) EXPECT_EQ(GroupedDigits(numbers[i]), texts[i]);
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
