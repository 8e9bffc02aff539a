// Closing the main window: the lock question in the unlocked state, at the
// close box (which Cancel keeps open) and through File > Exit (which ends the
// program whatever the answer); and commands that arrive while another one
// runs.
#include "GuiFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QProgressBar>

namespace veilbox::testing {
namespace {

constexpr const char* kLockQuestion = "Do you wish to lock the folder?";

class Closing : public GuiTest {
 protected:
  void StartUnlockedWithStore() {
    store = home.MakeFolder("program/Data");
    StartUnlocked();
    ASSERT_EQ(fs::status(store).permissions(), fs::perms::owner_all);
  }
  bool StoreLocked() { return fs::status(store).permissions() == fs::perms::none; }
  void ExpectOneLockQuestion() {
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, kLockQuestion);
    EXPECT_EQ(boxes.boxes[0].title, "Lock");
    EXPECT_EQ(boxes.boxes[0].icon, Icon::Question);
    EXPECT_EQ(boxes.boxes[0].buttons, Buttons::YesNoCancel);
  }

  fs::path store;
};

TEST_F(Closing, TheCloseBoxAsksAndCancelKeepsTheProgramRunning) {
  StartUnlockedWithStore();
  boxes.Answers({Answer::Cancel});
  EXPECT_FALSE(window->close());
  ExpectOneLockQuestion();
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(window->ProgramEnded());
  EXPECT_EQ(window->cmdUnlockFolder->text(), "Lock folder");
  EXPECT_FALSE(StoreLocked());
}

TEST_F(Closing, TheCloseBoxEndsTheProgramLockingOnlyOnYes) {
  for (Answer answer : {Answer::No, Answer::Yes}) {
    StartUnlockedWithStore();
    boxes.Answers({answer});
    EXPECT_TRUE(window->close());
    ExpectOneLockQuestion();
    EXPECT_TRUE(window->ProgramEnded());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(StoreLocked(), answer == Answer::Yes);

    // Start the next round as a new run of the program.
    fs::permissions(store, fs::perms::owner_all);
    boxes.boxes.clear();
    state.DonePassword = false;
    window = std::make_unique<frmMain>(state, dialogue);
  }
}

TEST_F(Closing, FileExitEndsTheProgramWhateverTheAnswer) {
  for (Answer answer : {Answer::Cancel, Answer::No, Answer::Yes}) {
    StartUnlockedWithStore();
    boxes.Answers({answer});
    window->mnuExit->trigger();
    ExpectOneLockQuestion();
    EXPECT_TRUE(window->ProgramEnded());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(StoreLocked(), answer == Answer::Yes);

    fs::permissions(store, fs::perms::owner_all);
    boxes.boxes.clear();
    state.DonePassword = false;
    window = std::make_unique<frmMain>(state, dialogue);
  }
}

TEST_F(Closing, TheLockedStateEndsWithoutAQuestion) {
  StartLoggedIn();
  EXPECT_TRUE(window->close());
  EXPECT_TRUE(window->ProgramEnded());
  EXPECT_TRUE(boxes.boxes.empty());
}

// While a hide lets events run (the file finder and the progress bar do),
// clicks that arrive start nothing: not Remove on the ticked row, not the
// lock, not the close box; the pass ends as if they had not come.
TEST_F(Closing, NoCommandStartsInTheMiddleOfAPass) {
  const fs::path plans = home.MakeFolder("user/Plans");
  WriteText(plans / "a.txt", "a");
  StartUnlockedWithStore();
  AddThroughButton(plans);
  ClickTick(0);
  window->mnuEncryptfilenames->trigger();

  boxes.during_pump = [&] {
    Click(window->cmdRemove);
    Click(window->cmdUnlockFolder);
    window->mnuExit->trigger();
    window->close();
    EXPECT_FALSE(window->ProgramEnded());
  };
  window->mnuHidden->trigger();

  EXPECT_FALSE(boxes.during_pump) << "the pass let events run";
  ASSERT_EQ(RowCount(), 1) << "Remove did not run";
  EXPECT_EQ(Cell(0, 2), "Hidden");
  EXPECT_EQ(window->cmdUnlockFolder->text(), "Lock folder");
  EXPECT_FALSE(StoreLocked());
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(window->ProgramEnded());
  EXPECT_TRUE(boxes.boxes.empty()) << "no lock question came";
  EXPECT_EQ(window->pbBar->maximum(), 1);

  // Once the pass is over, commands run again.
  ClickTick(0);
  Click(window->cmdRemove);
  EXPECT_EQ(RowCount(), 0);
  EXPECT_EQ(ReadText(plans / "a.txt"), "a");
}

}  // namespace
}  // namespace veilbox::testing
