#include <gtest/gtest.h>

#include "app/ErrorReporter.h"
#include "diag/StepTable.h"
#include "diag/stepgen/StepLines.h"
#include "store/TextUtil.h"
#include "support/ScriptedDialogue.h"

namespace veilbox {

// A box tells number, description, step and its text; only No silences that step; step 0 is silent.
TEST(ErrorReporter, AsksAtEachStepUntilNoAndATrappedFailureEndsTheOperation) {
  testing::ScriptedDialogue dialogue;
  ErrorReporter reporter(dialogue);
  const auto box = [](long number, std::string description, long step, std::string code) {
    return "Error Number: " + std::to_string(number) + ".\r\nError Description: " + description +
           ".\r\nError Line: " + std::to_string(step) + ".\r\nError Code: " + code +
           "\r\nDo you wish to pause on this error again?";
  };
  dialogue.Answers(
      {Answer::Yes, Answer::Cancel, Answer::No, Answer::Yes, Answer::Yes, Answer::Yes});
  reporter.ErrorHandler(91, "Object variable not set", 5);
  reporter.ErrorHandler(53, "", 5);
  reporter.ErrorHandler(53, "again", 5);
  reporter.ErrorHandler(91, "other error, same step", 5);  // silent
  reporter.ErrorHandler(5, "no step", 0);                  // silent
  reporter.ErrorHandler(5, "last", kStepCount);
  reporter.ErrorHandler(5, "past", kStepCount + 1);
  reporter.ErrorHandler(5, "far past", 1L << 30);
  const std::string fifth = kStepLines[4].text, last = kStepLines[kStepCount - 1].text;
  std::vector<std::string> texts;
  for (const testing::ShownBox& shown : dialogue.boxes) texts.push_back(shown.text);
  EXPECT_EQ(texts, (std::vector<std::string>{
                       box(91, "Object variable not set", 5, fifth), box(53, "", 5, fifth),
                       box(53, "again", 5, fifth), box(5, "last", kStepCount, last),
                       box(5, "past", kStepCount + 1, ""), box(5, "far past", 1L << 30, "")}));

  // A trapped failure ends the operation; raised outside the step table, it shows nothing.
  dialogue.boxes.clear();
  EXPECT_FALSE(Trap(reporter, [] { Raise(err::kFileNotFound, "File not found"); }));
  EXPECT_FALSE(Trap(reporter, [] { throw std::runtime_error("boom"); }));
  EXPECT_TRUE(dialogue.boxes.empty());
}

TEST(StepTable, MapsEveryStepsSourceLineToIt) {
  for (int i = 0; i < kStepCount; ++i) {
    const std::string file = std::string("/any/checkout/src/") + kStepLines[i].file;
    ASSERT_EQ(StepOf(file, kStepLines[i].line), i + 1) << file << ":" << kStepLines[i].line;
  }
  EXPECT_EQ(StepOf("/elsewhere/unknown.cpp", 10), 0);
  EXPECT_EQ(StepOf(std::string("/x/src/") + kStepLines[0].file, 0), 0);
}

// One file's lines ("|"), "+" before a step: statements and heads count, structure, comments not.
TEST(StepLines, CountsStatementsAndBlockHeadsButNotStructureOrComments) {
  const std::string lines =
      "#include <x>|namespace veilbox {||+int f(int a) {|+  if (a) {|+  } else {|  }|    case 1:|"
      "  });|public:|// a|/* a|  b */|+s = \"http://host\";|+/* a */ y = 2;|+c = '/';  // d";
  stepgen::StepLineClassifier classifier;
  for (const std::string& line : SplitString(lines, '|')) {
    const bool step = line.starts_with('+');
    EXPECT_EQ(classifier.IsStep(line.substr(step)), step) << line;
  }
}

}  // namespace veilbox
