// Shared by the benchmarks: runs veilbox-cli as a child with the password on
// its standard input, timing it and taking its peak memory from the kernel.
#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

struct RunResult {
  double seconds;
  long peak_kib;  // the child's peak resident memory
  int status;
  double user_seconds;    // processor time spent in the program
  double system_seconds;  // and in the kernel on its behalf
};

// A new folder in the temp folder that every veilbox-cli run by the
// benchmark takes as its home and settings folder.
inline std::filesystem::path PrivateWork(const std::string& prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
  if (!mkdtemp(pattern.data())) std::exit(1);
  const std::filesystem::path work = pattern;
  setenv("VEILBOX_HOME", (work / "home").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (work / "config").c_str(), 1);
  setenv("VEILBOX_UPDATE_URL", "", 1);
  return work;
}

inline double Seconds(const timeval& t) {
  return t.tv_sec + t.tv_usec / 1e6;
}

inline double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Waits for child, started at start, and takes its times, exit status and
// peak memory from the kernel.
inline RunResult Reap(pid_t child, Clock::time_point start) {
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) std::exit(1);
  return {Since(start), usage.ru_maxrss, WIFEXITED(status) ? WEXITSTATUS(status) : -1,
          Seconds(usage.ru_utime), Seconds(usage.ru_stime)};
}

inline RunResult Run(const std::vector<std::string>& args, const std::string& input) {
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
  return Reap(child, start);
}

// A whole positive number, or 0 when text is not one.
inline long Count(const char* text) {
  char* end = nullptr;
  const long n = std::strtol(text, &end, 10);
  return end != text && *end == '\0' && n > 0 ? n : 0;
}

// Starts a run with nothing left to write back, on the disk either: sync()
// may return while the device still works through what an earlier run left
// (a first fsync after it here waited about 0.2 s), and that must not be
// charged to whichever side flushes first. A probe file flushed in folder
// waits for it.
inline void SettleDisk(const std::filesystem::path& folder) {
  sync();
  const std::string probe = (folder / ".settle-probe").string();
  const int fd = open(probe.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
  if (fd < 0 || fsync(fd) != 0) std::exit(1);
  close(fd);
  unlink(probe.c_str());
}

// The median of values: the disk's speed drifts between runs, so a ratio is
// taken over several rounds.
inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace bench
