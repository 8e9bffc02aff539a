#include <gtest/gtest.h>

#include "app/ErrorReporter.h"
#include "diag/StepTable.h"
#include "support/ScriptedDialogue.h"

namespace veilbox {
namespace {

// Step N's text is the table's entry N - 1; a step past the table has none.
TEST(ErrorReporter, ShowsNumberDescriptionStepAndItsTextInOneBox) {
  testing::ScriptedDialogue dialogue;
  ErrorReporter reporter(dialogue);
  ASSERT_GT(kStepCount, 10);
  const std::pair<long, std::string> steps[] = {
      {5, kStepLines[4].text}, {kStepCount, kStepLines[kStepCount - 1].text}, {kStepCount + 1, ""}};
  for (const auto& [step, code] : steps) {
    dialogue.Answers({Answer::Yes});
    reporter.ErrorHandler(91, "Object variable not set", step);
    EXPECT_EQ(dialogue.boxes.back().text,
              "Error Number: 91.\r\nError Description: Object variable not set.\r\nError Line: " +
                  std::to_string(step) + ".\r\nError Code: " + code +
                  "\r\nDo you wish to pause on this error again?");
  }
  ASSERT_EQ(dialogue.boxes.size(), 3u);
  EXPECT_EQ(dialogue.boxes[0].title, "Error");
  EXPECT_EQ(dialogue.boxes[0].icon, Icon::Question);
  EXPECT_EQ(dialogue.boxes[0].buttons, Buttons::YesNoCancel);
}

TEST(ErrorReporter, NoSilencesOnlyThatStepForEveryErrorNumberAndStepZeroIsNeverShown) {
  testing::ScriptedDialogue dialogue;
  ErrorReporter reporter(dialogue);
  dialogue.Answers({Answer::No, Answer::Yes, Answer::Cancel, Answer::Yes});
  reporter.ErrorHandler(5, "no step", 0);  // silent
  reporter.ErrorHandler(5, "first", 7);
  reporter.ErrorHandler(53, "same step, other error", 7);  // silent
  reporter.ErrorHandler(5, "", 8);                         // Yes: shown again next time
  reporter.ErrorHandler(5, "other step", 8);               // Cancel: shown again next time
  reporter.ErrorHandler(5, "other step", 8);
  ASSERT_EQ(dialogue.boxes.size(), 4u);
  EXPECT_NE(dialogue.boxes[0].text.find("Error Line: 7."), std::string::npos);
  // An empty description keeps its full stop.
  EXPECT_NE(dialogue.boxes[1].text.find("Error Description: .\r\n"), std::string::npos);
}

TEST(Trap, ReportsFailuresAndEndsTheOperation) {
  testing::ScriptedDialogue dialogue;
  ErrorReporter reporter(dialogue);
  bool after_failure = false;
  EXPECT_TRUE(Trap(reporter, [] {}));
  EXPECT_FALSE(Trap(reporter, [&] {
    Raise(err::kFileNotFound, "File not found");
    after_failure = true;
  }));
  EXPECT_FALSE(after_failure);
  // A standard-library failure carries no line: it is reported at the line
  // that armed the trap. Both are test lines, no program step: nothing shown.
  EXPECT_FALSE(Trap(reporter, [] { throw std::runtime_error("boom"); }));
  EXPECT_TRUE(dialogue.boxes.empty());
}

TEST(StepTable, MapsEverySourceLineToItsStepOrTheNearestAbove) {
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

}  // namespace
}  // namespace veilbox
