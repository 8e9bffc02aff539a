// Hide with encrypted names, then restore, a tree of many empty files
// through veilbox-cli, each beside the physical floor measured in the same
// run: a plain loop that reads each folder and renames every file in it,
// relative to the folder, to a name of its cipher text's length and back.
// The disk's speed drifts from one run to the next, so this is done for a
// number of rounds and the ratios taken are their medians.
//   hide_restore_bench VEILBOX_CLI FOLDERS FILES_PER_FOLDER ROUNDS
// Prints each round's times (wall and processor), the median ratios and
// veilbox-cli's peak memory.
#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

#include "BenchRun.h"

namespace fs = std::filesystem;
using bench::Clock;

namespace {

// The floor: each folder read once, each file renamed inside it.
bool RenameTree(const fs::path& folder, const std::function<std::string(const char*)>& name_for) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return false;
  std::vector<std::string> files;
  std::vector<std::string> folders;
  while (const dirent* e = readdir(dir)) {
    if (e->d_type == DT_DIR) {
      if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
        folders.push_back(e->d_name);
    } else {
      files.push_back(e->d_name);
    }
  }
  bool ok = true;
  for (const std::string& f : files) {
    ok = ok && renameat(dirfd(dir), f.c_str(), dirfd(dir), name_for(f.c_str()).c_str()) == 0;
  }
  closedir(dir);
  for (const std::string& sub : folders) ok = ok && RenameTree(folder / sub, name_for);
  return ok;
}

// The floor runs as a child process of its own. Its lists of names would
// otherwise stay in this process's heap, and the kernel counts what a child
// inherits at the fork, before its exec, in that child's peak memory: after
// a floor pass over a million names in one folder, veilbox-cli's next run
// was charged with tens of megabytes it never used.
bench::RunResult Floor(const fs::path& tree,
                       const std::function<std::string(const char*)>& name_for) {
  const auto start = Clock::now();
  const pid_t child = fork();
  if (child < 0) std::exit(1);
  if (child == 0) _exit(RenameTree(tree, name_for) ? 0 : 1);
  const bench::RunResult r = bench::Reap(child, start);
  if (r.status != 0) std::exit(1);
  return r;
}

// Makes the same tree under each root, one file in each in turn. A folder's
// blocks then lie alike on the disk in both trees. Made one after the other,
// the first tree took the holes earlier runs left and the second a free run:
// a folder of a million files lay in 237 pieces in one and in 1 in the
// other, and every rename in the first paid for looking its blocks up.
void MakeTrees(const std::vector<fs::path>& roots, long folders, long files) {
  for (long d = 0; d < folders; ++d) {
    const std::string folder = "folder" + std::to_string(d);
    for (const fs::path& root : roots) fs::create_directories(root / folder);
    for (long f = 0; f < files; ++f) {
      char name[32];
      std::snprintf(name, sizeof name, "file%07ld.tx", f);  // 14 characters
      for (const fs::path& root : roots) {
        close(open((root / folder / name).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
      }
    }
  }
}

// One round: Veilbox's hide and restore and the floor's two passes, each
// started on a settled disk. Odd rounds run the floor first, so that neither
// side always meets the disk as the other left it.
struct Round {
  bench::RunResult hide, there, restore, back;
};

Round RunRound(const std::string& cli, const fs::path& tree, const fs::path& plain,
               bool floor_first) {
  const std::string pw = "bench password\n";
  // A 14-character name enciphers to one block: 32 hexadecimal digits.
  const auto long_name = [](const char* f) { return std::string(f) + std::string(32 - 14, 'X'); };
  const auto short_name = [](const char* f) { return std::string(f, 14); };
  Round r{};
  const auto veilbox = [&](bench::RunResult& into, std::vector<std::string> args) {
    bench::SettleDisk(plain.parent_path());
    into = bench::Run(args, pw);
  };
  const auto plain_loop = [&](bench::RunResult& into, const auto& name_for) {
    bench::SettleDisk(plain.parent_path());
    into = Floor(plain, name_for);
  };
  if (floor_first) plain_loop(r.there, long_name);
  veilbox(r.hide, {cli, "--password-stdin", "--encrypt", "hide", tree.string()});
  if (!floor_first) plain_loop(r.there, long_name);
  if (floor_first) plain_loop(r.back, short_name);
  veilbox(r.restore, {cli, "--password-stdin", "restore", tree.string()});
  if (!floor_first) plain_loop(r.back, short_name);
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  const long folders = argc == 5 ? bench::Count(argv[2]) : 0;
  const long files = argc == 5 ? bench::Count(argv[3]) : 0;
  const long rounds = argc == 5 ? bench::Count(argv[4]) : 0;
  if (folders == 0 || files == 0 || rounds == 0) {
    std::fprintf(stderr, "usage: hide_restore_bench VEILBOX_CLI FOLDERS FILES_PER_FOLDER ROUNDS\n");
    return 2;
  }
  const std::string cli = fs::absolute(argv[1]).string();
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each round shows as it ends

  const fs::path work = bench::PrivateWork("veilbox-bench");
  const fs::path tree = work / "Tree";
  const fs::path plain = work / "Plain";
  MakeTrees({tree, plain}, folders, files);
  const std::string pw = "bench password\n";
  bench::Run({cli, "--accept-agreement", "--password-stdin", "init"}, pw);
  bench::Run({cli, "--password-stdin", "add", tree.string()}, pw);

  std::printf("files: %ld (%ld folders of %ld), %ld rounds\n", folders * files, folders, files,
              rounds);
  std::printf("seconds, wall (processor)\n%-20s%19s%19s%19s%19s  ratios\n", "", "veilbox hide",
              "floor there", "veilbox restore", "floor back");
  std::vector<double> hide_ratios;
  std::vector<double> restore_ratios;
  long peak = 0;
  bool ok = true;
  for (long n = 0; n < rounds; ++n) {
    const Round r = RunRound(cli, tree, plain, n % 2 == 1);
    const std::string label = "round " + std::to_string(n + 1) + (n % 2 ? ", floor first" : "");
    std::printf("%-20s", label.c_str());
    for (const bench::RunResult* x : {&r.hide, &r.there, &r.restore, &r.back}) {
      std::printf("  %7.3f (%7.3f)", x->seconds, x->user_seconds + x->system_seconds);
    }
    hide_ratios.push_back(r.hide.seconds / r.there.seconds);
    restore_ratios.push_back(r.restore.seconds / r.back.seconds);
    std::printf("  %.2f %.2f\n", hide_ratios.back(), restore_ratios.back());
    peak = std::max({peak, r.hide.peak_kib, r.restore.peak_kib});
    ok = ok && r.hide.status == 0 && r.restore.status == 0;
  }

  long restored = 0;
  for (const auto& e : fs::recursive_directory_iterator(tree)) restored += e.is_regular_file();
  std::printf("median ratio hide / plain:    %6.2f  (target <= 1.1)\n", bench::Median(hide_ratios));
  std::printf("median ratio restore / plain: %6.2f  (target <= 1.1)\n",
              bench::Median(restore_ratios));
  std::printf("peak memory:                %8ld KiB (target < 65536)\n", peak);
  std::printf("every run exited 0: %s; files back under their own names: %ld\n", ok ? "yes" : "no",
              restored);

  std::error_code ignored;
  fs::remove_all(work, ignored);
  return ok && restored == folders * files ? 0 : 1;
}
