// Which source lines are steps: executable lines, not blank lines, comments,
// preprocessor lines, lone braces, labels or namespace lines.
#pragma once

#include <string>
#include <string_view>

namespace veilbox::stepgen {

class StepLineClassifier {
 public:
  // Feed the lines of one file in order; true when the line is a step.
  bool IsStep(std::string_view line);

 private:
  std::string CodeOf(std::string_view line);  // the line without comments
  bool in_block_comment_ = false;
};

// The text shown for a step: the line without its indentation and trailing
// white space.
std::string StepText(std::string_view line);

}  // namespace veilbox::stepgen
