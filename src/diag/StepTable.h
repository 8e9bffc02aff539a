// The program's steps: every executable line of its sources, numbered from 1
// in module order by a build step (stepgen), with the line's own text.
#pragma once

#include <source_location>
#include <string>
#include <string_view>
#include <vector>

namespace veilbox {

struct StepLine {
  const char* file;  // relative to the source root, "/" separated
  int line;
  const char* text;
};

// Filled by the generated table.
extern const StepLine kStepLines[];
extern const int kStepCount;

// The step of a source line: the numbered line itself, or the nearest
// numbered line above it in the same file; 0 when the file has none.
int StepOf(const std::source_location& where);
int StepOf(std::string_view file_name, int line);

// Entry N is the text of step N; entry 0 is empty.
std::vector<std::string> LoadCodeLines();

}  // namespace veilbox
