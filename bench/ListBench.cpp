// The cost of a long folder list: veilbox-cli list of a Dat.sys with ROWS
// rows beside list of an empty one, in the same run, alternating, for
// ROUNDS rounds each. Prints the medians and their difference, which is
// what the rows cost (reading, checking, printing).
//   list_bench VEILBOX_CLI ROWS ROUNDS
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "BenchRun.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  const long rows = argc == 4 ? bench::Count(argv[2]) : 0;
  const long rounds = argc == 4 ? bench::Count(argv[3]) : 0;
  if (rows == 0 || rounds == 0) {
    std::fprintf(stderr, "usage: list_bench VEILBOX_CLI ROWS ROUNDS\n");
    return 2;
  }
  const std::string cli = fs::absolute(argv[1]).string();
  const fs::path work = bench::PrivateWork("veilbox-list-bench");
  const std::string pw = "bench password\n";
  bench::Run({cli, "--accept-agreement", "--password-stdin", "init"}, pw);

  // Two program folders under one settings file: one listing nothing, one
  // listing ROWS folders, a quarter of them hidden with encrypted names.
  const fs::path empty = work / "empty", full = work / "full";
  fs::create_directories(empty);
  fs::create_directories(full);
  std::ofstream(empty / "Dat.sys", std::ios::binary) << "\r\n";
  {
    std::ofstream data(full / "Dat.sys", std::ios::binary);
    for (long r = 0; r < rows; ++r) {
      const std::string name = "Folder " + std::to_string(r);
      const bool hidden = r % 4 == 0;
      data << name << "</home/user/Projects/Group " << r / 100 << "/<"
           << (hidden ? "Hidden<Encrypted<" : "Visible<Normal<") << name << '*';
    }
    data << "\r\n";
  }
  fs::permissions(empty, fs::perms::owner_all);
  fs::permissions(full, fs::perms::owner_all);

  std::vector<double> none, listed;
  for (long round = 0; round < rounds; ++round) {
    for (const bool with_rows : {round % 2 == 0, round % 2 != 0}) {
      setenv("VEILBOX_HOME", (with_rows ? full : empty).c_str(), 1);
      const bench::RunResult r = bench::Run({cli, "--password-stdin", "list"}, pw);
      if (r.status != 0) {
        std::fprintf(stderr, "list exited %d\n", r.status);
        return 1;
      }
      (with_rows ? listed : none).push_back(r.seconds);
    }
  }
  const double base = bench::Median(none), with = bench::Median(listed);
  std::printf("list of no rows:  %.3f s (median of %ld)\n", base, rounds);
  std::printf("list of %ld rows: %.3f s (median of %ld)\n", rows, with, rounds);
  std::printf("the rows cost:    %.3f s (target <= 0.150 s: %s)\n", with - base,
              with - base <= 0.150 ? "met" : "MISSED");
  fs::remove_all(work);
  return 0;
}
