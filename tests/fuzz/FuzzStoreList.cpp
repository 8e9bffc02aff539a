// Any text as the store-folder list: no crash, the text reads back the same, and an added
// folder's drive has a store folder.
#include <cstdlib>

#include "platform/posix/PosixPlatform.h"
#include "store/StoreList.h"

using namespace veilbox;

struct LetterDrives : PosixPlatform {  // drives named by a letter, "/Q:/", as the text says
  std::string DriveKey(const std::string& path) override { return path.substr(0, 4); }
};

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
