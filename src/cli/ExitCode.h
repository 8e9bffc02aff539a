// The exit codes of veilbox-cli.
#pragma once

namespace veilbox::cli {

enum ExitCode : int {
  kAllDone = 0,
  kNotAllDone = 1,  // something was declined, skipped, refused or failed
  kUsage = 2,
  kLockedOut = 3,  // password missing, wrong or not yet created; agreement not accepted
};

}  // namespace veilbox::cli
