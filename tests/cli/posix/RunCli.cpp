#include "cli/RunCli.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

#include "support/TempHome.h"

extern char** environ;

namespace veilbox::testing {
namespace {

std::vector<char*> Argv(std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  return argv;
}

int ExitCode(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

CliRun RunCli(const std::vector<std::string>& args, const std::string& input,
              const std::filesystem::path& scratch, const std::filesystem::path& working_folder) {
  const std::string in = scratch / "stdin", out = scratch / "stdout", err = scratch / "stderr";
  WriteText(in, input);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 0, in.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&files, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addchdir_np(&files, working_folder.c_str());
  std::vector<std::string> all{VEILBOX_CLI};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv = Argv(all);
  pid_t pid;
  const int failed = posix_spawn(&pid, VEILBOX_CLI, &files, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&files);
  if (failed) throw std::runtime_error("cannot start " VEILBOX_CLI);
  CliRun run;
  run.code = ExitCode(pid);
  run.out = ReadText(out);
  run.err = ReadText(err);
  return run;
}

CliRun RunOnTerminal(const std::vector<std::string>& args,
                     const std::vector<std::pair<std::string, std::string>>& script) {
  std::vector<std::string> all{VEILBOX_CLI};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv = Argv(all);
  int master;
  const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
  if (pid < 0) throw std::runtime_error("forkpty failed");
  if (pid == 0) {
    execv(VEILBOX_CLI, argv.data());
    _exit(127);
  }
  CliRun run;
  size_t next = 0, seen = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  for (;;) {
    pollfd p{master, POLLIN, 0};
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      break;
    }
    if (poll(&p, 1, 100) <= 0) continue;
    char buffer[4096];
    const ssize_t n = read(master, buffer, sizeof buffer);
    if (n <= 0) break;  // EIO once the child has gone
    run.err.append(buffer, static_cast<size_t>(n));
    for (size_t at; next < script.size() &&
                    (at = run.err.find(script[next].first, seen)) != std::string::npos;) {
      seen = at + script[next].first.size();
      const std::string reply = script[next++].second + "\n";
      if (write(master, reply.data(), reply.size()) < 0) break;
    }
  }
  close(master);
  run.code = ExitCode(pid);
  return run;
}

}  // namespace veilbox::testing
