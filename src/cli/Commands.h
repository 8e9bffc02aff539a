// Runs one command of veilbox-cli from start-up to its exit code.
#pragma once

#include "cli/Options.h"

namespace veilbox::cli {

int RunCommand(const Options& options);

}  // namespace veilbox::cli
