#include <gtest/gtest.h>

#include "diag/ErrorReporter.h"
#include "diag/StepTable.h"
#include "platform/Platform.h"
#include "support/ScriptedDialogue.h"
#include "support/TempHome.h"

namespace veilbox {
namespace {

using testing::ScriptedDialogue;

TEST(ErrorReporter, ShowsNumberDescriptionStepAndItsTextInOneBox) {
  ScriptedDialogue dialogue;
  ErrorReporter reporter(dialogue);
  dialogue.Answers({Answer::Yes});
  const std::vector<std::string> lines = LoadCodeLines();
  ASSERT_GT(lines.size(), 5u);
  reporter.ErrorHandler(91, "Object variable not set", 5);

  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_EQ(dialogue.boxes[0].text,
            "Error Number: 91.\r\nError Description: Object variable not set.\r\n"
            "Error Line: 5.\r\nError Code: " +
                lines[5] + "\r\nDo you wish to pause on this error again?");
  EXPECT_EQ(dialogue.boxes[0].title, "Error");
  EXPECT_EQ(dialogue.boxes[0].icon, Icon::Question);
  EXPECT_EQ(dialogue.boxes[0].buttons, Buttons::YesNoCancel);
  EXPECT_TRUE(reporter.LinesLoaded());
}

TEST(ErrorReporter, NoSilencesOnlyThatStepForEveryErrorNumber) {
  ScriptedDialogue dialogue;
  ErrorReporter reporter(dialogue);
  dialogue.Answers({Answer::No, Answer::Yes, Answer::Cancel, Answer::Yes});
  reporter.ErrorHandler(5, "first", 7);
  reporter.ErrorHandler(53, "same step, other error", 7);  // silent
  reporter.ErrorHandler(5, "other step", 8);               // Yes: shown again next time
  reporter.ErrorHandler(5, "other step", 8);               // Cancel: shown again next time
  reporter.ErrorHandler(5, "other step", 8);
  EXPECT_EQ(dialogue.boxes.size(), 4u);
  EXPECT_EQ(reporter.NoPauseLines(), (std::vector<long>{0, 7}));
}

TEST(ErrorReporter, StepZeroIsNeverShownAndEmptyDescriptionKeepsItsStop) {
  ScriptedDialogue dialogue;
  ErrorReporter reporter(dialogue);
  reporter.ErrorHandler(5, "no step", 0);
  EXPECT_TRUE(dialogue.boxes.empty());
  EXPECT_TRUE(reporter.LinesLoaded());

  dialogue.Answers({Answer::Yes});
  reporter.ErrorHandler(5, "", 3);
  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_NE(dialogue.boxes[0].text.find("Error Description: .\r\n"), std::string::npos);
}

TEST(ErrorReporter, StepBeyondTheTableShowsWithoutText) {
  ScriptedDialogue dialogue;
  ErrorReporter reporter(dialogue);
  dialogue.Answers({Answer::Yes});
  reporter.ErrorHandler(5, "x", kStepCount + 100);
  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_NE(dialogue.boxes[0].text.find("Error Code: \r\n"), std::string::npos);
}

TEST(Trap, ReportsFailuresAndEndsTheOperation) {
  ScriptedDialogue dialogue;
  ErrorReporter reporter(dialogue);
  bool after_failure = false;
  EXPECT_TRUE(Trap(reporter, [] {}));
  EXPECT_FALSE(Trap(reporter, [&] {
    Raise(err::kFileNotFound, "File not found");
    after_failure = true;
  }));
  EXPECT_FALSE(after_failure);
  // Raised from a test file, which is no program step: nothing is shown.
  EXPECT_TRUE(dialogue.boxes.empty());

  // A standard-library failure carries no line: it is reported at the line
  // that armed the trap, here a test line again.
  EXPECT_FALSE(Trap(reporter, [] { throw std::runtime_error("boom"); }));
  EXPECT_TRUE(dialogue.boxes.empty());
}

TEST(StepTable, MapsEverySourceLineToItsStepOrTheNearestAbove) {
  ASSERT_GT(kStepCount, 10);
  for (int i = 0; i < kStepCount; ++i) {
    const std::string file = std::string("/any/checkout/src/") + kStepLines[i].file;
    ASSERT_EQ(StepOf(file, kStepLines[i].line), i + 1) << file << ":" << kStepLines[i].line;
    if (i + 1 < kStepCount && kStepLines[i + 1].file == std::string(kStepLines[i].file) &&
        kStepLines[i + 1].line > kStepLines[i].line + 1) {
      EXPECT_EQ(StepOf(file, kStepLines[i].line + 1), i + 1);
    }
  }
  EXPECT_EQ(StepOf("/elsewhere/unknown.cpp", 10), 0);
  EXPECT_EQ(StepOf(std::string("/x/src/") + kStepLines[0].file, 0), 0);
}

TEST(StepTable, CodeLinesStartWithAnEmptyEntry) {
  const std::vector<std::string> lines = LoadCodeLines();
  ASSERT_EQ(lines.size(), static_cast<size_t>(kStepCount) + 1);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], kStepLines[0].text);
}

}  // namespace
}  // namespace veilbox
