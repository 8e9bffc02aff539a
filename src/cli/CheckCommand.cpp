#include "cli/CheckCommand.h"

#include <iostream>

#include "cli/ExitCode.h"
#include "cli/StoreUnlock.h"
#include "cli/TerminalText.h"
#include "engine/Check.h"

namespace veilbox::cli {

int CheckCommand(Session& session, bool repair) {
  StoreUnlock unlocked(session);
  const CheckReport report = CheckFolders(session, repair);
  const bool relocked = unlocked.Relock();
  const char separator = session.platform.Separator();
  for (const std::string& finding : report.findings) {
    std::cout << "found: " << OneLine(finding, separator) << '\n';
  }
  for (const std::string& done : report.repairs) {
    std::cout << "repaired: " << OneLine(done, separator) << '\n';
  }
  const bool agree = report.complete && report.findings.empty();
  if (agree) std::cout << "The list and the folders agree.\n";
  return agree && unlocked.Unlocked() && relocked ? kAllDone : kNotAllDone;
}

}  // namespace veilbox::cli
