// The progress of a filename pass as one line on a terminal, redrawn at most
// ten times a second so that a pass over many small files is not slowed by
// its own display.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <ostream>

namespace veilbox::cli {

class ProgressBar {
 public:
  using Clock = std::chrono::steady_clock;

  ProgressBar(std::ostream& out, std::function<Clock::time_point()> now = Clock::now)
      : out_(out), now_(std::move(now)) {}

  // value files done of maximum; a maximum of 0 clears the line.
  void Show(long value, long maximum);
  // Clears the line, so that a message can take it.
  void Clear();

 private:
  static constexpr std::chrono::milliseconds kInterval{100};
  static constexpr int kWidth = 30;

  std::ostream& out_;
  std::function<Clock::time_point()> now_;
  bool shown_ = false;  // the line holds a bar
  std::optional<Clock::time_point> last_drawn_;
};

}  // namespace veilbox::cli
