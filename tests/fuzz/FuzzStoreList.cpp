// Any text as the store-folder list: parsing, the drive lookups and adding a
// folder must never crash, the text must read back the same, and the drive
// of an added folder always has a store folder on it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/posix/PosixPlatform.h"
#include "store/StoreList.h"

using namespace veilbox;

namespace {
// Drives named by a letter, "/Q:/" on Linux, so the lookup depends on the
// text alone.
class LetterDrives : public PosixPlatform {
 public:
  std::string DriveKey(const std::string& path) override { return path.substr(0, 4); }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static LetterDrives platform;
  StoreList list = StoreList::Parse(std::string(reinterpret_cast<const char*>(data), size));
  list.Unusable();
  list.MissingFolder(platform, "/C:/Work/Plans", "");
  if (StoreList::Parse(list.Text()).Text() != list.Text()) std::abort();
  list.Add("/Q:/Store");
  const std::optional<std::string> found = list.FolderForDrive(platform, "/Q:/x");
  if (!found || !found->starts_with("/Q:/")) std::abort();
  return 0;
}
