#include <gtest/gtest.h>

#include "diag/stepgen/StepLines.h"

namespace veilbox::stepgen {
namespace {

// The lines of one file, fed in order (a block comment spans lines): which are
// steps. Statements and the heads of functions and blocks count; structure,
// labels and comments do not, but comment markers inside text are no comment.
TEST(StepLines, CountsStatementsAndBlockHeadsButNotStructureOrComments) {
  const std::pair<const char*, bool> lines[] = {
      {"#include <x>", false},
      {"namespace veilbox {", false},
      {"", false},
      {"int f(int a) {", true},
      {"  if (a) {", true},
      {"    return 1;", true},
      {"  } else {", true},
      {"  }", false},
      {"  switch (a) {", true},
      {"    case 1:", false},
      {"    default:", false},
      {"  });", false},
      {"public:", false},
      {"// a comment", false},
      {"/* a block", false},
      {"   still comment */", false},
      {"x = 1;  /* trailing */", true},
      {"s = \"http://host\";", true},
      {"/* one */ y = 2;", true},
      {"c = '/';  // slash", true},
  };
  StepLineClassifier classifier;
  for (const auto& [line, is_step] : lines) EXPECT_EQ(classifier.IsStep(line), is_step) << line;
  EXPECT_EQ(StepText("    return x;   \r"), "return x;");
}

}  // namespace
}  // namespace veilbox::stepgen
