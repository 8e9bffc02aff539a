// The intruder's half of the swap race: exchanges A and B with renameat2(RENAME_EXCHANGE) until
// SECONDS have passed, MAX_SWAPS succeeded or SIGTERM came; prints the count.
#include <fcntl.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>

static volatile std::sig_atomic_t stop = 0;

int main(int argc, char** argv) {
  if (argc < 4) return std::fprintf(stderr, "usage: swap_loop A B SECONDS [MAX_SWAPS]\n"), 2;
  std::signal(SIGTERM, [](int) { stop = 1; });
  const std::time_t end = std::time(nullptr) + std::atol(argv[3]);
  const long max_swaps = argc > 4 ? std::atol(argv[4]) : -1;
  long swaps = 0;
  for (long tries = 0; !stop && swaps != max_swaps; ++tries) {  // the clock read every 4096 tries
    if (renameat2(AT_FDCWD, argv[1], AT_FDCWD, argv[2], RENAME_EXCHANGE) == 0) ++swaps;
    if (tries % 4096 == 0 && std::time(nullptr) >= end) break;
  }
  if (swaps == 0) std::perror("renameat2");
  std::printf("swaps: %ld\n", swaps);
}
