#include "cli/ProgressBar.h"

#include <algorithm>
#include <string>

namespace veilbox::cli {

void ProgressBar::Show(long value, long maximum) {
  if (maximum <= 0) {
    Clear();
    return;
  }
  const Clock::time_point now = now_();
  if (last_drawn_ && now - *last_drawn_ < kInterval) return;
  const long done = std::min(std::max(value, 0L), maximum);
  const int filled = static_cast<int>(done * kWidth / maximum);
  out_ << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, '.') << "] " << done
       << " of " << maximum << " files" << std::flush;
  shown_ = true;
  last_drawn_ = now;
}

void ProgressBar::Clear() {
  if (shown_) out_ << "\r\033[K" << std::flush;
  shown_ = false;
}

}  // namespace veilbox::cli
