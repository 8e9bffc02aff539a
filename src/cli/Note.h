// The command line's own messages, on standard error.
#pragma once

#include <iostream>
#include <string>

namespace veilbox::cli {

inline void Note(const std::string& text) {
  std::cerr << "veilbox-cli: " << text << '\n';
}

}  // namespace veilbox::cli
