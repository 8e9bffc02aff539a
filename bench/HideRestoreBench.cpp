// Hide with encrypted names, then restore, a tree of many empty files
// through veilbox-cli, beside a plain loop that lists the same tree and
// renames every file to a name of its cipher text's length and back.
//   hide_restore_bench VEILBOX_CLI [FOLDERS] [FILES_PER_FOLDER]
// Prints both times, their ratios and veilbox-cli's peak memory.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

struct RunResult {
  double seconds;
  long peak_kib;
  int status;
};

// Runs the command with the password on its standard input.
RunResult Run(const std::vector<std::string>& args, const std::string& input) {
  int pipe_fd[2];
  if (pipe(pipe_fd) != 0) std::exit(1);
  const auto start = Clock::now();
  pid_t child = fork();
  if (child == 0) {
    dup2(pipe_fd[0], 0);
    close(pipe_fd[1]);
    int null_fd = open("/dev/null", O_WRONLY);
    dup2(null_fd, 1);
    dup2(null_fd, 2);
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(pipe_fd[0]);
  if (write(pipe_fd[1], input.data(), input.size()) < 0) std::exit(1);
  close(pipe_fd[1]);
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  return {std::chrono::duration<double>(Clock::now() - start).count(), usage.ru_maxrss,
          WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// The plain loop: one listing of the tree, one rename per file.
double RenameAll(const fs::path& tree, const std::string& (*name_for)(const fs::path&)) {
  const auto start = Clock::now();
  std::vector<fs::path> files;
  for (const auto& e : fs::recursive_directory_iterator(tree)) {
    if (e.is_regular_file()) files.push_back(e.path());
  }
  for (const auto& f : files) fs::rename(f, f.parent_path() / name_for(f));
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// A 12-character name enciphers to one block: 32 hexadecimal digits.
const std::string& LongName(const fs::path& f) {
  static std::string name;
  name = f.filename().string() + std::string(32 - 12, 'X');
  return name;
}
const std::string& ShortName(const fs::path& f) {
  static std::string name;
  name = f.filename().string().substr(0, 12);
  return name;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: hide_restore_bench VEILBOX_CLI [FOLDERS] [FILES]\n");
    return 2;
  }
  const std::string cli = fs::absolute(argv[1]).string();
  const int folders = argc > 2 ? std::atoi(argv[2]) : 100;
  const int files = argc > 3 ? std::atoi(argv[3]) : 1000;

  std::string pattern = (fs::temp_directory_path() / "veilbox-bench-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return 1;
  const fs::path work = pattern;
  setenv("VEILBOX_HOME", (work / "home").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (work / "config").c_str(), 1);
  setenv("VEILBOX_UPDATE_URL", "", 1);

  const fs::path tree = work / "Tree";
  const fs::path plain = work / "Plain";
  for (const fs::path& root : {tree, plain}) {
    for (int d = 0; d < folders; ++d) {
      const fs::path folder = root / ("folder" + std::to_string(d));
      fs::create_directories(folder);
      for (int f = 0; f < files; ++f) {
        char name[32];
        std::snprintf(name, sizeof name, "file%04d.txt", f);  // 12 characters
        std::ofstream(folder / name);
      }
    }
  }
  const std::string pw = "bench password\n";
  Run({cli, "--accept-agreement", "--password-stdin", "init"}, pw);
  Run({cli, "--password-stdin", "add", tree.string()}, pw);

  const RunResult hide = Run({cli, "--password-stdin", "--encrypt", "hide", tree.string()}, pw);
  const RunResult restore = Run({cli, "--password-stdin", "restore", tree.string()}, pw);
  const double plain_there = RenameAll(plain, LongName);
  const double plain_back = RenameAll(plain, ShortName);

  long restored = 0;
  for (const auto& e : fs::recursive_directory_iterator(tree)) restored += e.is_regular_file();
  std::printf("files: %d (%d folders of %d)\n", folders * files, folders, files);
  std::printf("veilbox-cli hide --encrypt: %8.3f s  (exit %d, peak %ld KiB)\n", hide.seconds,
              hide.status, hide.peak_kib);
  std::printf("veilbox-cli restore:        %8.3f s  (exit %d, peak %ld KiB)\n", restore.seconds,
              restore.status, restore.peak_kib);
  std::printf("plain loop, names there:    %8.3f s\n", plain_there);
  std::printf("plain loop, names back:     %8.3f s\n", plain_back);
  std::printf("ratio hide / plain:         %8.2f  (target <= 1.5)\n", hide.seconds / plain_there);
  std::printf("ratio restore / plain:      %8.2f  (target <= 1.5)\n", restore.seconds / plain_back);
  std::printf("files back under their own names: %ld\n", restored);

  std::error_code ignored;
  fs::remove_all(work, ignored);
  return hide.status == 0 && restore.status == 0 && restored == folders * files ? 0 : 1;
}
