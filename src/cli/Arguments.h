// The program's arguments as UTF-8 text, the core's form. On Windows the
// arguments main receives are in the ANSI code page, so they are taken from
// the wide command line instead. posix/ and win32/ hold the two forms.
#pragma once

#include <string>
#include <vector>

namespace veilbox::cli {

std::vector<std::string> CommandLineArguments(int argc, char** argv);

}  // namespace veilbox::cli
