// Many rows in one command: add, hide, restore and remove of ROWS listed
// folders through veilbox-cli, each beside the floor measured right after it
// in the same run: a loop that, per row, renames one folder and rewrites a
// file as large as Dat.sys durably (write a temporary file, flush it to
// disk, rename it over the old one). The four commands are run for a number
// of rounds, and the ratios taken are their medians.
//   rows_bench VEILBOX_CLI ROWS ROUNDS
// Prints both times, their ratio and veilbox-cli's peak memory per command
// and round, what every command spends before its first row (the password
// check and the start, timed by "list") with the ratio of the rest, and the
// median ratio per command.
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "BenchRun.h"

namespace fs = std::filesystem;
using bench::Clock;

namespace {

// The floor: per row one folder renamed and one durable rewrite.
double Floor(const fs::path& from, const fs::path& to, long rows, const fs::path& data,
             size_t size) {
  const std::string bytes(size, 'x');
  const auto start = Clock::now();
  for (long r = 0; r < rows; ++r) {
    const std::string name = "folder" + std::to_string(r);
    if (rename((from / name).c_str(), (to / name).c_str()) != 0) std::exit(1);
    const std::string temp = data.string() + ".tmp";
    const int fd = open(temp.c_str(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        fsync(fd) != 0 || close(fd) != 0 || rename(temp.c_str(), data.c_str()) != 0) {
      std::exit(1);
    }
  }
  return bench::Since(start);
}

}  // namespace

int main(int argc, char** argv) {
  const long rows = argc == 4 ? bench::Count(argv[2]) : 0;
  const long rounds = argc == 4 ? bench::Count(argv[3]) : 0;
  if (rows == 0 || rounds == 0) {
    std::fprintf(stderr, "usage: rows_bench VEILBOX_CLI ROWS ROUNDS\n");
    return 2;
  }
  const std::string cli = fs::absolute(argv[1]).string();

  const fs::path work = bench::PrivateWork("veilbox-rows-bench");

  const fs::path tree = work / "Tree";
  const fs::path plain = work / "Plain";
  const fs::path elsewhere = work / "Elsewhere";
  std::vector<std::string> folders;
  for (const fs::path& root : {tree, plain}) {
    for (long r = 0; r < rows; ++r) {
      const fs::path folder = root / ("folder" + std::to_string(r));
      fs::create_directories(folder);
      close(open((folder / "notes.txt").c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
      if (root == tree) folders.push_back(folder.string());
    }
  }
  fs::create_directories(elsewhere);
  const std::string pw = "bench password\n";
  bench::Run({cli, "--accept-agreement", "--password-stdin", "init"}, pw);

  auto command = [&](const std::string& name) {
    std::vector<std::string> args{cli, "--password-stdin", name};
    args.insert(args.end(), folders.begin(), folders.end());
    return bench::Run(args, pw);
  };
  const fs::path data = work / "home" / "Dat.sys";
  const fs::path floor_data = work / "floor.sys";
  bool all_done = true;
  size_t size = 0;
  // What every command spends before its first row.
  const double start_up = bench::Run({cli, "--password-stdin", "list"}, pw).seconds;
  std::printf("rows: %ld per command; start-up (password check) %.3f s per command\n", rows,
              start_up);
  const std::vector<std::string> names{"add", "hide", "restore", "remove"};
  std::map<std::string, std::vector<double>> ratios;
  // Each round ends as it began: the folders unlisted and in place, and the
  // floor's folders back where they started.
  for (long round = 1; round <= rounds; ++round) {
    std::printf("round %ld\n", round);
    for (const std::string& name : names) {
      bench::SettleDisk(work);
      const bench::RunResult run = command(name);
      // The floor rewrites a file as large as Dat.sys grows to.
      if (name == "add") size = fs::file_size(data);
      const bool there = fs::exists(plain / "folder0");
      bench::SettleDisk(work);  // the floor, too, starts with nothing left to write back
      const double floor = there ? Floor(plain, elsewhere, rows, floor_data, size)
                                 : Floor(elsewhere, plain, rows, floor_data, size);
      all_done = all_done && run.status == 0;
      ratios[name].push_back(run.seconds / floor);
      std::printf(
          "veilbox-cli %-8s %8.3f s (exit %d, peak %ld KiB)  floor %8.3f s  ratio %5.2f"
          "  (rows alone %5.2f)\n",
          name.c_str(), run.seconds, run.status, run.peak_kib, floor, run.seconds / floor,
          (run.seconds - start_up) / floor);
    }
  }
  for (const std::string& name : names) {
    std::printf("median ratio %-8s %5.2f  (target <= 1.25)\n", name.c_str(),
                bench::Median(ratios[name]));
  }
  std::printf("Dat.sys size after add: %ju bytes\n",
              static_cast<uintmax_t>(fs::file_size(floor_data)));

  std::error_code ignored;
  fs::permissions(work / "home" / "Data", fs::perms::owner_all, ignored);
  fs::remove_all(work, ignored);
  return all_done ? 0 : 1;
}
