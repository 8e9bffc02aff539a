// Any bytes as the settings file: reading must never crash, and a write
// afterwards must keep a damaged file aside and read back what it wrote.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "FuzzSupport.h"
#include "diag/Failure.h"
#include "platform/posix/SettingsFile.h"

using namespace veilbox;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::filesystem::path folder = fuzz::WorkFolder() / "config";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::string file = (folder / "settings.json").string();
  {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  posix::ReadSettingValue(file, "SOFTWARE\\TK", "VeilboxPassword");
  posix::WriteSettingValue(file, "SOFTWARE\\TK", "VeilboxFirstTime", "No", Where::current());
  if (posix::ReadSettingValue(file, "SOFTWARE\\TK", "VeilboxFirstTime") != "No") std::abort();
  return 0;
}
