#include <gtest/gtest.h>

#include <algorithm>

#include "NativePlatform.h"
#include "diag/Failure.h"
#include "store/StoreList.h"
#include "support/TempHome.h"

namespace veilbox {
namespace {

// A full path on this platform from one written as on Windows: "D:\\Store"
// is "/D:/Store" on Linux.
std::string Full(std::string path) {
  if (kPathSeparator == '\\') return path;
  std::replace(path.begin(), path.end(), '\\', '/');
  return "/" + path;
}

// Drives named by a letter: the start of a full path up to its first folder.
class LetterDrivePlatform : public NativePlatform {
 public:
  std::string DriveKey(const std::string& path) override {
    return path.substr(0, Full("C:\\").size());
  }
};

TEST(StoreList, FindsTheStoreFolderOfAPathsDrive) {
  LetterDrivePlatform platform;
  const std::string list = Full("C:\\Data*") + Full("D:\\Store*");
  EXPECT_EQ(StoreFolderForDrive(platform, list, Full("D:\\Work\\Plans")), Full("D:\\Store"));
  EXPECT_EQ(StoreFolderForDrive(platform, list, Full("E:\\Work")), std::nullopt);
  EXPECT_EQ(StoreFolderForDrive(platform, "", Full("C:\\x")), std::nullopt);
  // Several entries for one drive, none made yet: the first one serves it.
  EXPECT_EQ(StoreFolderForDrive(platform, Full("D:\\One*") + Full("C:\\Data*") + Full("D:\\Two*"),
                                Full("D:\\x")),
            Full("D:\\One"));
  // Drive keys are compared exactly.
  EXPECT_EQ(StoreFolderForDrive(platform, list, Full("d:\\Work")), std::nullopt);
}

// The store folder of a drive that is away looks like one not made yet on
// the file system of its mount point: the existing one keeps serving.
TEST(StoreList, AnExistingStoreFolderServesBeforeOneThatIsNotThere) {
  testing::TempHome home;
  NativePlatform platform;
  const std::string real = home.MakeFolder("Store").string();
  const std::string away = (home.Root() / "usb" / "Vault").string();
  const std::string list = real + "*" + away + "*";
  const std::string folder = (home.Root() / "Plans").string();
  EXPECT_EQ(StoreFolderForDrive(platform, list, folder), real);
  EXPECT_EQ(MissingStoreFolder(platform, list, folder, real), away);
  const std::string not_made = (home.Root() / "Data").string();
  EXPECT_EQ(StoreFolderForDrive(platform, not_made + "*" + away + "*", folder), not_made);
  EXPECT_EQ(MissingStoreFolder(platform, real + "*", folder, real), std::nullopt);
  // Remembered on the drive that is away, it serves no other, wherever it is
  // listed; remembered on this drive, it serves as before.
  const std::string usb_first = away + "*" + not_made + "*";
  const std::string remembered = RememberStoreDrive(
      RememberStoreDrive(RememberStoreDrive("", away, platform.DriveKey(folder)), real, "/x/"),
      away, "/media/usb/");
  EXPECT_EQ(RememberedDrive(remembered, away), "/media/usb/");
  EXPECT_EQ(StoreFolderForDrive(platform, usb_first, folder, remembered), not_made);
  EXPECT_EQ(StoreFolderForDrive(platform, usb_first, folder,
                                RememberStoreDrive("", away, platform.DriveKey(folder))),
            away);
}

// An entry whose terminator was lost is kept; a folder whose name holds a
// separator of the list (or of the folder records) could not be, and is refused.
TEST(StoreList, KeepsAnEntryWhoseTerminatorWasLostAndRefusesSeparators) {
  const std::string data = Full("C:\\Data"), store = Full("D:\\Store");
  for (const std::string& list : {data + "*" + store + "*", data + "*" + store}) {
    EXPECT_EQ(StoreFolders(list), (std::vector<std::string>{data, store})) << list;
  }
  // An entry that is not a full path is never used, and is named.
  const std::string up = Full("D:\\x\\..\\Store");
  EXPECT_EQ(StoreFolders("Data*" + up + "*" + store + "*"), std::vector<std::string>{store});
  EXPECT_EQ(
      UnusableStoreEntries("Data**" + up + "*"),
      (std::vector<std::string>{
          "Entry 1 of the store-folder list, \"Data\", is not a full path, so it is not used.",
          "Entry 3 of the store-folder list, \"" + up +
              "\", has a \"..\" part, so it is not used."}));
  EXPECT_EQ(AddStoreFolder("C:\\Data", "E:\\"), "C:\\Data*E:\\*");
  EXPECT_TRUE(StoreFolders("").empty());
  EXPECT_THROW(AddStoreFolder("", "/media/a*b"), Failure);
  EXPECT_THROW(AddStoreFolder("", "/media/a<b"), Failure);
}

}  // namespace
}  // namespace veilbox
