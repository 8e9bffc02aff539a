// Runs the real veilbox-cli binary in a test's temporary home (the child
// inherits its environment): with files as standard streams, or (POSIX
// only) on a pseudo-terminal that answers prompts from a script.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace veilbox::testing {

struct CliRun {
  int code = -1;  // exit code; -1 when the program did not exit normally
  std::string out;
  std::string err;  // on a terminal: everything the terminal showed
};

// Standard input holds input; standard output and error go to files in
// scratch, so neither is a terminal.
CliRun RunCli(const std::vector<std::string>& args, const std::string& input,
              const std::filesystem::path& scratch,
              const std::filesystem::path& working_folder = std::filesystem::current_path());

// On a new pseudo-terminal: whenever the terminal shows the next prompt of
// the script, its reply is typed. Gives up after 20 seconds.
CliRun RunOnTerminal(const std::vector<std::string>& args,
                     const std::vector<std::pair<std::string, std::string>>& script);

}  // namespace veilbox::testing
