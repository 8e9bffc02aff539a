#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include "cli/Arguments.h"
#include "platform/win32/WideText.h"

namespace veilbox::cli {

std::vector<std::string> CommandLineArguments(int, char**) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 0; wide && i < count; ++i) arguments.push_back(win32::Narrow(wide[i]));
  LocalFree(wide);
  return arguments;
}

}  // namespace veilbox::cli
