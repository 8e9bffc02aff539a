// Runs the real veilbox-cli in a test's temporary home (inherited environment).
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace veilbox::testing {

struct CliRun {
  int code = -1;  // exit code; -1 when the program did not exit normally
  std::string out;
  std::string err;   // on a terminal: everything the terminal showed
  bool echo = true;  // on a terminal: whether it echoed typing at the end
};

// Standard input holds input; standard output and error go to files in
// scratch, so that none of them is a terminal.
CliRun RunCli(const std::vector<std::string>& args, const std::string& input,
              const std::filesystem::path& scratch,
              const std::filesystem::path& working_folder = std::filesystem::current_path());

// POSIX only: on a new pseudo-terminal, which types the reply of each prompt
// of the script when it shows; gives up after 20 seconds without output.
CliRun RunOnTerminal(const std::vector<std::string>& args,
                     const std::vector<std::pair<std::string, std::string>>& script);

}  // namespace veilbox::testing
