#include "cli/Terminal.h"

#include <iostream>

namespace veilbox::cli {

std::optional<std::string> Terminal::ReadLine(const std::string& prompt, bool echo) {
  if (!Interactive()) return std::nullopt;
  if (echo) {
    std::cerr << prompt << std::flush;
    return ReadRawLine();
  }
  std::optional<std::string> line;
  {
    // Echo goes off before the prompt shows, so nothing typed is ever seen.
    EchoOff quiet(input_);
    std::cerr << prompt << std::flush;
    line = ReadRawLine();
  }
  std::cerr << '\n';  // the Enter that was not echoed
  return line;
}

}  // namespace veilbox::cli
