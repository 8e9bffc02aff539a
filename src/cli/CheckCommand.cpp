#include "cli/CheckCommand.h"

#include <iostream>

#include "cli/ExitCode.h"
#include "cli/StoreUnlock.h"
#include "engine/Check.h"

namespace veilbox::cli {

int CheckCommand(AppState& state, bool repair) {
  StoreUnlock unlocked(state);
  const CheckReport report = CheckFolders(state, repair);
  const bool relocked = unlocked.Relock();
  for (const std::string& finding : report.findings) std::cout << "found: " << finding << '\n';
  for (const std::string& done : report.repairs) std::cout << "repaired: " << done << '\n';
  if (report.findings.empty()) std::cout << "The list and the folders agree.\n";
  return report.findings.empty() && unlocked.Unlocked() && relocked ? kAllDone : kNotAllDone;
}

}  // namespace veilbox::cli
