// The command line's own messages, on standard error, with any control
// character a name in them holds escaped.
#pragma once

#include <iostream>
#include <string>

#include "cli/TerminalText.h"

namespace veilbox::cli {

inline void Note(const std::string& text) {
  std::cerr << "veilbox-cli: " << ForTerminal(text) << '\n';
}

}  // namespace veilbox::cli
