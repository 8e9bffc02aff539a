// The intruder's half of the swap race: exchanges A and B (the listed folder
// and a link) with renameat2(RENAME_EXCHANGE) as fast as it can until SECONDS
// have passed, MAX_SWAPS succeeded or SIGTERM came; prints the count.
//   swap_loop A B SECONDS [MAX_SWAPS]
#include <fcntl.h>
#include <stdio.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {
volatile std::sig_atomic_t stop = 0;
void Stop(int) {
  stop = 1;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return std::fprintf(stderr, "usage: swap_loop A B SECONDS [MAX_SWAPS]\n"), 2;
  std::signal(SIGTERM, Stop);
  std::signal(SIGINT, Stop);
  const std::time_t end = std::time(nullptr) + std::atol(argv[3]);
  const long max_swaps = argc > 4 ? std::atol(argv[4]) : -1;
  long swaps = 0;
  // The time is read once every 4096 tries to keep the loop tight.
  for (long tries = 0; !stop && swaps != max_swaps; ++tries) {
    if (renameat2(AT_FDCWD, argv[1], AT_FDCWD, argv[2], RENAME_EXCHANGE) == 0) ++swaps;
    if (tries % 4096 == 0 && std::time(nullptr) >= end) break;
  }
  if (swaps == 0) std::perror("renameat2");
  std::printf("swaps: %ld\n", swaps);
}
