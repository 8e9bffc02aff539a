#include "cli/Arguments.h"

namespace veilbox::cli {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

}  // namespace veilbox::cli
