#include "cli/RunCli.h"

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <stdexcept>

#include "support/TempHome.h"

namespace veilbox::testing {
namespace {

std::string Quoted(const std::string& word) {  // for sh: any byte but NUL
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

int ExitCode(int status) {
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

CliRun RunCli(const std::vector<std::string>& args, const std::string& input,
              const std::filesystem::path& scratch, const std::filesystem::path& working_folder) {
  const auto in = scratch / "stdin", out = scratch / "stdout", err = scratch / "stderr";
  WriteText(in, input);
  std::string line = "cd " + Quoted(working_folder) + " && exec " + Quoted(VEILBOX_CLI);
  for (const std::string& a : args) line += " " + Quoted(a);
  line += " <" + Quoted(in) + " >" + Quoted(out) + " 2>" + Quoted(err);
  return {ExitCode(std::system(line.c_str())), ReadText(out), ReadText(err)};
}

CliRun RunOnTerminal(const std::vector<std::string>& args,
                     const std::vector<std::pair<std::string, std::string>>& script) {
  std::vector<char*> argv{const_cast<char*>(VEILBOX_CLI)};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  int master;
  const pid_t pid = forkpty(&master, nullptr, nullptr, nullptr);
  if (pid < 0) throw std::runtime_error("forkpty failed");
  if (pid == 0) {
    execv(VEILBOX_CLI, argv.data());
    _exit(127);
  }
  CliRun run;
  size_t next = 0, seen = 0;
  char buffer[4096];
  for (pollfd p{master, POLLIN, 0}; poll(&p, 1, 20000) > 0;) {
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
  termios mode{};
  run.echo = tcgetattr(master, &mode) == 0 && (mode.c_lflag & ECHO);
  kill(pid, SIGKILL);  // silent for 20 seconds: its time is up
  close(master);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) continue;
  run.code = ExitCode(status);
  return run;
}

}  // namespace veilbox::testing
