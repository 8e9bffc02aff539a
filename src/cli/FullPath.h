// Folders typed on the command line, in the form the core expects from a
// folder chooser.
#pragma once

#include <string>

namespace veilbox::cli {

// The full path of a typed folder: a relative one is taken from the current
// folder, "." and ".." are resolved in the text, and a trailing separator is
// dropped (except the root's). Links are kept as typed.
std::string FullPath(const std::string& typed);

}  // namespace veilbox::cli
