#include <gtest/gtest.h>

#include "NativePlatform.h"
#include "diag/Failure.h"
#include "store/StoreList.h"
#include "support/TempHome.h"

namespace veilbox {
namespace {

// Drives named as on Windows: the first three characters of a path.
class LetterDrivePlatform : public NativePlatform {
 public:
  std::string DriveKey(const std::string& path) override { return path.substr(0, 3); }
};

TEST(StoreList, FindsTheStoreFolderOfAPathsDrive) {
  LetterDrivePlatform platform;
  const std::string list = "C:\\Data*D:\\Store*";
  EXPECT_EQ(StoreFolderForDrive(platform, list, "D:\\Work\\Plans"), "D:\\Store");
  EXPECT_EQ(StoreFolderForDrive(platform, list, "E:\\Work"), std::nullopt);
  EXPECT_EQ(StoreFolderForDrive(platform, "", "C:\\x"), std::nullopt);
  // Several entries for one drive, none made yet: the first one serves it.
  EXPECT_EQ(StoreFolderForDrive(platform, "D:\\One*C:\\Data*D:\\Two*", "D:\\x"), "D:\\One");
  // Drive keys are compared exactly.
  EXPECT_EQ(StoreFolderForDrive(platform, list, "d:\\Work"), std::nullopt);
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
  for (const char* list : {"C:\\Data*D:\\Store*", "C:\\Data*D:\\Store"}) {
    EXPECT_EQ(StoreFolders(list), (std::vector<std::string>{"C:\\Data", "D:\\Store"})) << list;
  }
  EXPECT_EQ(AddStoreFolder("C:\\Data", "E:\\"), "C:\\Data*E:\\*");
  EXPECT_TRUE(StoreFolders("").empty());
  EXPECT_THROW(AddStoreFolder("", "/media/a*b"), Failure);
  EXPECT_THROW(AddStoreFolder("", "/media/a<b"), Failure);
}

}  // namespace
}  // namespace veilbox
