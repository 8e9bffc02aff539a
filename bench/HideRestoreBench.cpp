// Hide with encrypted names, then restore, a tree of many empty files
// through veilbox-cli, each beside the physical floor measured right after
// it in the same run: a plain loop that reads each folder and renames every
// file in it, relative to the folder, to a name of its cipher text's length
// and back.
//   hide_restore_bench VEILBOX_CLI FOLDERS FILES_PER_FOLDER
// Prints both times, their ratios and veilbox-cli's peak memory.
#include <dirent.h>

#include <cstdio>
#include <filesystem>
#include <functional>

#include "BenchRun.h"

namespace fs = std::filesystem;
using bench::Clock;

namespace {

// The floor: each folder read once, each file renamed inside it.
void RenameTree(const fs::path& folder, const std::function<std::string(const char*)>& name_for) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) std::exit(1);
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
  for (const std::string& f : files) {
    if (renameat(dirfd(dir), f.c_str(), dirfd(dir), name_for(f.c_str()).c_str()) != 0) std::exit(1);
  }
  closedir(dir);
  for (const std::string& sub : folders) RenameTree(folder / sub, name_for);
}

double Floor(const fs::path& tree, const std::function<std::string(const char*)>& name_for) {
  const auto start = Clock::now();
  RenameTree(tree, name_for);
  return bench::Since(start);
}

void MakeTree(const fs::path& root, long folders, long files) {
  for (long d = 0; d < folders; ++d) {
    const fs::path folder = root / ("folder" + std::to_string(d));
    fs::create_directories(folder);
    for (long f = 0; f < files; ++f) {
      char name[32];
      std::snprintf(name, sizeof name, "file%07ld.tx", f);  // 14 characters
      close(open((folder / name).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  const long folders = argc == 4 ? bench::Count(argv[2]) : 0;
  const long files = argc == 4 ? bench::Count(argv[3]) : 0;
  if (folders == 0 || files == 0) {
    std::fprintf(stderr, "usage: hide_restore_bench VEILBOX_CLI FOLDERS FILES_PER_FOLDER\n");
    return 2;
  }
  const std::string cli = fs::absolute(argv[1]).string();

  const fs::path work = bench::PrivateWork("veilbox-bench");

  const fs::path tree = work / "Tree";
  const fs::path plain = work / "Plain";
  MakeTree(tree, folders, files);
  MakeTree(plain, folders, files);
  const std::string pw = "bench password\n";
  bench::Run({cli, "--accept-agreement", "--password-stdin", "init"}, pw);
  bench::Run({cli, "--password-stdin", "add", tree.string()}, pw);
  sync();

  // A 14-character name enciphers to one block: 32 hexadecimal digits.
  const auto long_name = [](const char* f) { return std::string(f) + std::string(32 - 14, 'X'); };
  const auto short_name = [](const char* f) { return std::string(f, 14); };
  const bench::RunResult hide =
      bench::Run({cli, "--password-stdin", "--encrypt", "hide", tree.string()}, pw);
  // Each run starts with nothing left to write back from the one before.
  sync();
  const double plain_there = Floor(plain, long_name);
  sync();
  const bench::RunResult restore =
      bench::Run({cli, "--password-stdin", "restore", tree.string()}, pw);
  sync();
  const double plain_back = Floor(plain, short_name);

  long restored = 0;
  for (const auto& e : fs::recursive_directory_iterator(tree)) restored += e.is_regular_file();
  std::printf("files: %ld (%ld folders of %ld)\n", folders * files, folders, files);
  std::printf("veilbox-cli hide --encrypt: %8.3f s  (exit %d, peak %ld KiB)\n", hide.seconds,
              hide.status, hide.peak_kib);
  std::printf("plain loop, names there:    %8.3f s\n", plain_there);
  std::printf("veilbox-cli restore:        %8.3f s  (exit %d, peak %ld KiB)\n", restore.seconds,
              restore.status, restore.peak_kib);
  std::printf("plain loop, names back:     %8.3f s\n", plain_back);
  std::printf("ratio hide / plain:         %8.2f  (target <= 1.1)\n", hide.seconds / plain_there);
  std::printf("ratio restore / plain:      %8.2f  (target <= 1.1)\n", restore.seconds / plain_back);
  std::printf("peak memory:                %8ld KiB (target < 65536)\n",
              std::max(hide.peak_kib, restore.peak_kib));
  std::printf("files back under their own names: %ld\n", restored);

  std::error_code ignored;
  fs::remove_all(work, ignored);
  return hide.status == 0 && restore.status == 0 && restored == folders * files ? 0 : 1;
}
