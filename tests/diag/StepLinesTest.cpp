#include <gtest/gtest.h>

#include "diag/stepgen/StepLines.h"

namespace veilbox::stepgen {
namespace {

std::vector<bool> Classify(const std::vector<std::string>& lines) {
  StepLineClassifier c;
  std::vector<bool> steps;
  for (const auto& l : lines) steps.push_back(c.IsStep(l));
  return steps;
}

TEST(StepLines, CountsStatementsAndBlockHeadsButNotStructure) {
  EXPECT_EQ(Classify({
                "#include <x>",            // preprocessor
                "namespace veilbox {",     // namespace
                "",                        // blank
                "int f(int a) {",          // head of a function
                "  if (a) {",              // head of a block
                "    return 1;",           // statement
                "  } else {",              // else branch
                "  }",                     // closing brace
                "  switch (a) {",          // multi-way head
                "    case 1:",             // case label
                "    default:",            // default label
                "  });",                   // punctuation only
                "public:",                 // access label
            }),
            (std::vector<bool>{false, false, false, true, true, true, true, false, true, false,
                               false, false, false}));
}

TEST(StepLines, IgnoresCommentsButNotCommentMarkersInsideText) {
  EXPECT_EQ(Classify({
                "// a comment",
                "/* a block",
                "   still comment */",
                "x = 1;  /* trailing */",
                "s = \"http://host\";",
                "/* one */ y = 2;",
                "c = '/';  // slash",
            }),
            (std::vector<bool>{false, false, false, true, true, true, true}));
}

TEST(StepLines, StepTextDropsIndentationAndTrailingBlanks) {
  EXPECT_EQ(StepText("    return x;   \r"), "return x;");
}

}  // namespace
}  // namespace veilbox::stepgen
