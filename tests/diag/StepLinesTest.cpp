#include <gtest/gtest.h>

#include "diag/stepgen/StepLines.h"
#include "store/TextUtil.h"

namespace veilbox::stepgen {

// The lines of one file, fed in order (a block comment spans lines): which are
// steps. Statements and the heads of functions and blocks count; structure,
// labels and comments do not, but comment markers inside text are no comment.
TEST(StepLines, CountsStatementsAndBlockHeadsButNotStructureOrComments) {
  // The lines as fed, split at "|", "+" before the steps.
  const std::string lines =
      "#include <x>|namespace veilbox {||+int f(int a) {|+  if (a) {|+    return 1;|+  } else {|"
      "  }|+  switch (a) {|    case 1:|    default:|  });|public:|// a comment|/* a block|"
      "   still comment */|+x = 1;  /* trailing */|+s = \"http://host\";|+/* one */ y = 2;|"
      "+c = '/';  // slash";
  StepLineClassifier classifier;
  for (const std::string& line : SplitString(lines, '|')) {
    const bool step = line.starts_with('+');
    EXPECT_EQ(classifier.IsStep(line.substr(step)), step) << line;
  }
  EXPECT_EQ(StepText("    return x;   \r"), "return x;");
}

}  // namespace veilbox::stepgen
