// veilbox-cli: the folder engine for scripts and terminals.
#include <exception>
#include <variant>

#include "cli/Commands.h"
#include "cli/ExitCode.h"
#include "cli/Note.h"
#include "cli/Options.h"

int main(int argc, char** argv) {
  using namespace veilbox::cli;
  const std::variant<Options, int> parsed = ParseOptions(argc, argv);
  if (const int* code = std::get_if<int>(&parsed)) return *code;
  try {
    return RunCommand(std::get<Options>(parsed));
  } catch (const std::exception& e) {
    Note(e.what());
    return kNotAllDone;
  }
}
