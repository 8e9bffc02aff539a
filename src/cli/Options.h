// The command line of veilbox-cli: its command, arguments and flags.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace veilbox::cli {

struct Options {
  std::string command;        // init, list, add, remove, hide, restore, lock, unlock, stores, check
  std::string stores_action;  // with stores: empty (list), add, edit or remove
  std::vector<std::string> folders;  // FOLDER... of add, remove, hide, restore
  std::string drive;                 // DRIVE of stores edit and stores remove
  std::string dir;                   // DIR of stores add and stores edit
  bool password_stdin = false;
  bool encrypt = false;
  bool accept_agreement = false;
  bool repair = false;                    // with check
  std::optional<std::string> store_dir;   // as typed
  std::optional<std::string> restore_to;  // as typed
  std::optional<bool> yes;                // --yes (true) or --no (false)
};

// The options, or the exit code when the program ends here: 0 after --help,
// 2 after wrong usage (the message is already on standard error).
std::variant<Options, int> ParseOptions(int argc, const char* const* argv);

}  // namespace veilbox::cli
