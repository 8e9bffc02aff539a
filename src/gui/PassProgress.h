// What the main window shows of a running pass: the bar's value and the
// status line ("Hiding Plans: 12,345 of 200,000 files"). A pass over many
// small files reports every file; the window is redrawn only when the bar
// would move by a thousandth, so the display does not slow the pass.
#pragma once

#include <optional>
#include <string>

namespace veilbox {

class PassProgress {
 public:
  struct Shown {
    long value = 0;
    long maximum = 0;  // 0: the bar is empty
    std::string line;  // the status line; empty when cleared
  };

  // The running command's verb ("Hiding"), for the passes it runs.
  void SetVerb(std::string verb) { verb_ = std::move(verb); }

  // Each returns what the window shows now, or nullopt when it need not be
  // redrawn.
  Shown Begin(const std::string& folder);
  std::optional<Shown> Progress(long value, long maximum);
  Shown End();

 private:
  std::string verb_ = "Working on";
  std::string folder_;
  long last_permille_ = -1;
};

// 12345 as "12,345".
std::string GroupedDigits(long number);

}  // namespace veilbox
