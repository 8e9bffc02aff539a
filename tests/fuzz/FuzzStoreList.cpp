// Any text as the store-folder list: parsing, the drive lookup and adding a
// folder must never crash, and the drive of an added folder always has a
// store folder on it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "diag/Failure.h"
#include "platform/posix/PosixPlatform.h"
#include "store/StoreList.h"

using namespace veilbox;

namespace {
// Drives as on Windows, so the lookup depends on the text alone.
class LetterDrives : public PosixPlatform {
 public:
  std::string DriveKey(const std::string& path) override { return path.substr(0, 3); }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static LetterDrives platform;
  const std::string list(reinterpret_cast<const char*>(data), size);
  StoreFolders(list);
  StoreFolderForDrive(platform, list, "C:\\Work\\Plans");
  try {
    const std::string added = AddStoreFolder(list, "Q:\\Store");
    const std::optional<std::string> found = StoreFolderForDrive(platform, added, "Q:\\x");
    if (!found || !found->starts_with("Q:\\")) std::abort();
  } catch (const Failure&) {
  }
  return 0;
}
