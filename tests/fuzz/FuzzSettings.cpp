// Any bytes as the settings file: no crash, and a value written reads back.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/posix/SettingsFile.h"

using namespace veilbox;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("veilbox-fuzz-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const std::string file = (folder / "settings.json").string();
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(data), size);
  posix::ReadSettingValue(file, "SOFTWARE\\TK", "VeilboxPassword");
  posix::WriteSettingValue(file, "SOFTWARE\\TK", "VeilboxFirstTime", "No", Where::current());
  if (posix::ReadSettingValue(file, "SOFTWARE\\TK", "VeilboxFirstTime") != "No") std::abort();
  std::filesystem::remove_all(folder);
  return 0;
}
