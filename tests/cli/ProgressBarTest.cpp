#include <gtest/gtest.h>

#include <sstream>

#include "cli/ProgressBar.h"

namespace veilbox::cli {
namespace {

TEST(ProgressBar, RedrawsAtMostTenTimesASecondAndClearsItsLine) {
  std::ostringstream out;
  ProgressBar::Clock::time_point now{};
  ProgressBar bar(out, [&] { return now; });
  int draws = 0;
  for (long done = 1; done <= 1000; ++done) {
    now += std::chrono::milliseconds(1);  // a second for the whole pass
    const size_t before = out.str().size();
    bar.Show(done, 1000);
    if (out.str().size() != before) ++draws;
  }
  EXPECT_EQ(draws, 10);
  bar.Show(0, 0);
  bar.Clear();  // the line holds no bar any more
  EXPECT_TRUE(out.str().ends_with(" files\r\033[K"));
}

}  // namespace
}  // namespace veilbox::cli
