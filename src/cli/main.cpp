// veilbox-cli: the folder engine for scripts and terminals.
#include <exception>
#include <variant>

#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/ExitCode.h"
#include "cli/Note.h"
#include "cli/Options.h"

int main(int argc, char** argv) {
  using namespace veilbox::cli;
  const std::vector<std::string> arguments = CommandLineArguments(argc, argv);
  std::vector<const char*> pointers;
  for (const std::string& a : arguments) pointers.push_back(a.c_str());
  const std::variant<Options, int> parsed =
      ParseOptions(static_cast<int>(pointers.size()), pointers.data());
  if (const int* code = std::get_if<int>(&parsed)) return *code;
  try {
    return RunCommand(std::get<Options>(parsed));
  } catch (const std::exception& e) {
    Note(e.what());
    return kNotAllDone;
  }
}
