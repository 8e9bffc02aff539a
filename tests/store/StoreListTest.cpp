#include <gtest/gtest.h>

#include <algorithm>

#include "NativePlatform.h"
#include "diag/Failure.h"
#include "store/StoreList.h"
#include "support/TempHome.h"

namespace veilbox {

// A full path from one written as on Windows ("/D:/Store" on Linux).
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

TEST(StoreList, FindsTheStoreFolderOfAPathsDriveAndKeepsWhatItCannotUse) {
  LetterDrivePlatform platform;
  // Of several entries for one drive, none made yet, the first serves; drive keys match exactly.
  EXPECT_EQ(StoreList::Parse(Full("D:\\One*") + Full("C:\\Data*") + Full("D:\\Two*"))
                .FolderForDrive(platform, Full("D:\\x")),
            Full("D:\\One"));
  EXPECT_EQ(StoreList::Parse(Full("D:\\Store*")).FolderForDrive(platform, Full("d:\\Work")),
            std::nullopt);

  // An entry whose "*" was lost is kept; a name holding a separator is refused.
  const std::string data = Full("C:\\Data"), store = Full("D:\\Store");
  for (const std::string& text : {data + "*" + store + "*", data + "*" + store}) {
    EXPECT_EQ(StoreList::Parse(text).Folders(), (std::vector<std::string>{data, store})) << text;
    EXPECT_EQ(StoreList::Parse(text).Text(), data + "*" + store + "*");
  }
  // An entry that is not a full path is never used, but named and kept.
  const std::string up = Full("D:\\x\\..\\Store");
  const StoreList odd = StoreList::Parse("Data**" + up + "*" + store + "*");
  EXPECT_EQ(odd.Folders(), std::vector<std::string>{store});
  EXPECT_EQ(odd.Text(), "Data**" + up + "*" + store + "*");
  EXPECT_EQ(
      odd.Unusable(),
      (std::vector<std::string>{
          "Entry 1 of the store-folder list, \"Data\", is not a full path, so it is not used.",
          "Entry 3 of the store-folder list, \"" + up +
              "\", has a \"..\" part, so it is not used."}));
  StoreList added = StoreList::Parse(data);
  added.Add(store);
  EXPECT_EQ(added.Text(), data + "*" + store + "*");
  EXPECT_THROW(added.Add("/media/a*b"), Failure);
}

// The existing store folder serves before one of a drive that is away.
TEST(StoreList, AnExistingStoreFolderServesBeforeOneThatIsNotThere) {
  testing::TempHome home;
  NativePlatform platform;
  const std::string real = home.MakeFolder("Store").string();
  const std::string away = (home.Root() / "usb" / "Vault").string();
  const StoreList list = StoreList::Parse(real + "*" + away + "*");
  const std::string folder = (home.Root() / "Plans").string();
  EXPECT_EQ(list.FolderForDrive(platform, folder), real);
  EXPECT_EQ(list.MissingFolder(platform, folder, real), away);
  EXPECT_EQ(StoreList::Parse(real + "*").MissingFolder(platform, folder, real), std::nullopt);
  // Remembered on the drive that is away, it serves no other.
  const std::string not_made = (home.Root() / "Data").string();
  const StoreList usb_first = StoreList::Parse(away + "*" + not_made + "*");
  StoreDrives remembered;
  remembered.Remember(away, platform.DriveKey(folder));
  remembered.Remember(real, "/x/");
  remembered.Remember(away, "/media/usb/");
  EXPECT_EQ(remembered.Text(), real + "</x/*" + away + "</media/usb/*");
  EXPECT_EQ(StoreDrives::Parse(remembered.Text() + "bad*").Text(), remembered.Text());
  EXPECT_EQ(usb_first.FolderForDrive(platform, folder, remembered), not_made);
  StoreDrives here;
  here.Remember(away, platform.DriveKey(folder));
  EXPECT_EQ(usb_first.FolderForDrive(platform, folder, here), away);
}

}  // namespace veilbox
