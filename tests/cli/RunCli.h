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

// Standard input, output and error are files in scratch, none a terminal.
CliRun RunCli(const std::vector<std::string>& args, const std::string& input,
              const std::filesystem::path& scratch,
              const std::filesystem::path& working_folder = std::filesystem::current_path());

// POSIX only: on a new pseudo-terminal, typing each prompt's reply when the
// prompt shows; given up after 20 seconds without output.
CliRun RunOnTerminal(const std::vector<std::string>& args,
                     const std::vector<std::pair<std::string, std::string>>& script);

}  // namespace veilbox::testing
