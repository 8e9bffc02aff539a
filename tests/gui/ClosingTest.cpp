// Closing the main window: the lock question in the unlocked state, at the
// close box (which Cancel keeps open) and through File > Exit (which ends the
// program whatever the answer); and commands that arrive while another one
// runs.
#include "GuiFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QProgressBar>

#include "engine/UnlockMarker.h"

namespace veilbox::testing {
namespace {

class Closing : public GuiTest {
 protected:
  void StartUnlockedWithStore() {
    store = home.MakeFolder("program/Data");
    StartUnlocked();
    ASSERT_EQ(fs::status(store).permissions(), fs::perms::owner_all);
  }
  bool StoreLocked() { return fs::status(store).permissions() == fs::perms::none; }

  fs::path store;
};

// Each answer, at the close box and through File > Exit, in a run of its own.
TEST_F(Closing, TheLockQuestionAtTheCloseBoxAndThroughFileExit) {
  struct Case {
    bool exit_menu;
    Answer answer;
    bool ends;
  };
  for (const Case c : {Case{false, Answer::Cancel, false}, Case{false, Answer::No, true},
                       Case{false, Answer::Yes, true}, Case{true, Answer::Cancel, true},
                       Case{true, Answer::No, true}, Case{true, Answer::Yes, true}}) {
    SCOPED_TRACE(std::string(c.exit_menu ? "File > Exit, " : "close box, ") +
                 (c.answer == Answer::Yes  ? "Yes"
                  : c.answer == Answer::No ? "No"
                                           : "Cancel"));
    StartUnlockedWithStore();
    boxes.Answers({c.answer});
    if (c.exit_menu) {
      window->mnuExit->trigger();
    } else {
      EXPECT_EQ(window->close(), c.ends);
    }
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Do you wish to lock the folder?");
    EXPECT_EQ(boxes.boxes[0].title, "Lock");
    EXPECT_EQ(boxes.boxes[0].icon, Icon::Question);
    EXPECT_EQ(boxes.boxes[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(window->ProgramEnded(), c.ends);
    EXPECT_EQ(window->isVisible(), !c.ends);
    EXPECT_EQ(StoreLocked(), c.answer == Answer::Yes);
    // Whatever the answer, an ended program leaves nothing for the next
    // start to lock; an open window still unlocked keeps its marker.
    EXPECT_EQ(fs::exists(UnlockMarkerPath(state)), !c.ends);

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
