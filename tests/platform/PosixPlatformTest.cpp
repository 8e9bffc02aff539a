// What only the POSIX platform does: private modes on the program folder
// and the settings file, the settings file's own rules, store folders locked
// by mode, moves that never leave the file system, and drives as mount
// points.
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <filesystem>
#include <functional>

#include "diag/Failure.h"
#include "platform/posix/Mounts.h"
#include "platform/posix/PosixPlatform.h"
#include "support/TempHome.h"

namespace veilbox {
namespace {

namespace fs = std::filesystem;
using testing::ReadText;
using testing::TempHome;
using testing::WriteText;

unsigned ModeOf(const fs::path& p) {
  struct stat st;
  return ::lstat(p.c_str(), &st) == 0 ? st.st_mode & 0777 : 01000;
}

// Runs body in a child process and gives its exit code; -1 when the child
// did not end by itself (a failure thrown there ends it by abort).
int InChild(const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(body());
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// In a child: a mount namespace of its own, so its mounts stay its own.
bool PrivateMounts() {
  return ::unshare(CLONE_NEWNS) == 0 &&
         ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

bool MountTmpfs(const std::string& at) {
  return ::mount("tmpfs", at.c_str(), "tmpfs", 0, "size=1m") == 0;
}

TEST(ProgramFolder, ComesFromVeilboxHomeOrTheDataFolderAndIsPrivate) {
  TempHome home;
  PosixPlatform platform;
  EXPECT_EQ(platform.ProgramFolder(), home.ProgramFolder().string());
  EXPECT_EQ(ModeOf(home.ProgramFolder()), 0700u);

  unsetenv("VEILBOX_HOME");
  const fs::path data = home.Root() / "data" / "veilbox";
  EXPECT_EQ(platform.ProgramFolder(), data.string());
  EXPECT_EQ(ModeOf(data), 0700u);
}

class SettingsFile : public ::testing::Test {
 protected:
  std::optional<std::string> Read(const std::string& name) {
    return platform->ReadSetting(SettingsRoot::CurrentUser, kKey, name);
  }
  void Write(const std::string& name, const std::string& value) {
    platform->WriteSetting(SettingsRoot::CurrentUser, kKey, name, value);
  }
  fs::path Folder() const { return home.SettingsFile().parent_path(); }

  static constexpr const char* kKey = "SOFTWARE\\TK";
  TempHome home;
  std::unique_ptr<Platform> platform = CreatePlatform();
};

TEST_F(SettingsFile, IsPrivateAndTakesOnlyUtf8) {
  Write("VeilboxFirstTime", "No");
  EXPECT_EQ(ModeOf(home.SettingsFile()), 0600u);
  EXPECT_EQ(ModeOf(Folder()), 0700u);
  EXPECT_EQ(std::distance(fs::directory_iterator(Folder()), fs::directory_iterator()), 1)
      << "no temporary file beside it";
  const std::string before = ReadText(home.SettingsFile());
  EXPECT_THROW(Write("VeilboxHideFolderPath", "/bad\xff*"), Failure);
  EXPECT_EQ(ReadText(home.SettingsFile()), before);
}

TEST_F(SettingsFile, NonStringValuesReadAsAbsentAndSurviveWrites) {
  WriteText(home.SettingsFile(), R"({"SOFTWARE\\TK": {"VeilboxNumber": 12, "VeilboxList": [1]}})");
  EXPECT_EQ(Read("VeilboxNumber"), std::nullopt);
  Write("VeilboxFirstTime", "No");
  EXPECT_NE(ReadText(home.SettingsFile()).find("\"VeilboxNumber\": 12"), std::string::npos);
}

TEST_F(SettingsFile, DamagedFileReadsEmptyAndIsKeptAsideBeforeANewOneIsWritten) {
  for (const std::string damaged : {"{not json", "[1, 2]", R"({"SOFTWARE\\TK": "text"})"}) {
    SCOPED_TRACE(damaged);
    fs::remove_all(Folder());
    WriteText(home.SettingsFile(), damaged);
    platform = CreatePlatform();
    EXPECT_EQ(Read("VeilboxFirstTime"), std::nullopt);
    EXPECT_EQ(ReadText(home.SettingsFile()), damaged) << "reading must not change the file";

    Write("VeilboxFirstTime", "No");
    EXPECT_EQ(Read("VeilboxFirstTime"), "No");
    int kept = 0;
    for (const auto& e : fs::directory_iterator(Folder())) {
      if (e.path().filename().string().starts_with("settings.json.bad-")) {
        EXPECT_EQ(ReadText(e.path()), damaged);
        ++kept;
      }
    }
    EXPECT_EQ(kept, 1);
  }
}

TEST(LockFolder, ChangesTheModeOfTheNamedRealFolderOnly) {
  TempHome home;
  PosixPlatform platform;
  const fs::path store = home.MakeFolder("Store");
  platform.LockFolder(store.string());
  EXPECT_EQ(ModeOf(store), 0u);
  platform.UnlockFolder(store.string());
  EXPECT_EQ(ModeOf(store), 0700u);

  const fs::path target = home.MakeFolder("target/Store");
  fs::permissions(target, fs::perms(0755));
  fs::create_directory_symlink(target.parent_path(), home.Root() / "parent");
  EXPECT_THROW(platform.LockFolder((home.Root() / "parent" / "Store").string()), Failure);
  EXPECT_THROW(platform.UnlockFolder((home.Root() / "parent" / "Store").string()), Failure);
  EXPECT_EQ(ModeOf(target), 0755u);
}

TEST(LockFolder, ItsOwnerUnlocksItWithoutPrivileges) {
  TempHome home;
  const fs::path store = home.MakeFolder("Store");
  fs::permissions(home.Root(), fs::perms(0711));
  constexpr uid_t kNobody = 65534;
  const bool root = ::geteuid() == 0;
  if (root && ::chown(store.c_str(), kNobody, kNobody) != 0) {
    GTEST_SKIP() << "cannot give the folder to an unprivileged user";
  }
  EXPECT_EQ(InChild([&] {
              if (root && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) return 2;
              PosixPlatform platform;
              platform.LockFolder(store.string());
              if (ModeOf(store) != 0) return 3;
              platform.UnlockFolder(store.string());
              return ModeOf(store) == 0700 ? 0 : 4;
            }),
            0);
}

// A held folder is the folder itself: moved elsewhere, the work meant for it
// follows it, and a new folder of its old name does not catch that work.
// (Wine gives a held folder's path as it was opened, so this is Linux's.)
TEST(OpenFolder, AHeldFolderFollowsItsFolder) {
  TempHome home;
  PosixPlatform platform;
  WriteText(home.Root() / "work" / "Plans" / "sub" / "a.txt", "alpha");
  auto plans = platform.OpenFolderNoLinks((home.Root() / "work" / "Plans").string()).folder;
  ASSERT_TRUE(platform.Rename((home.Root() / "work").string(), (home.Root() / "moved").string()));
  home.MakeFolder("work/Plans/sub");
  ASSERT_TRUE(plans->OpenChild("sub")->RenameChild("a.txt", "c.txt"));
  EXPECT_EQ(ReadText(home.Root() / "moved" / "Plans" / "sub" / "c.txt"), "alpha");
  EXPECT_TRUE(fs::is_empty(home.Root() / "work" / "Plans" / "sub"));
}

// A real second file system: a tmpfs mounted in a private mount namespace.
TEST(OpenFolder, AMoveOntoAnotherFileSystemIsRefusedAndLeavesTheFolder) {
  TempHome home;
  WriteText(home.MakeFolder("Plans") / "a.txt", "alpha");
  const std::string usb = home.MakeFolder("usb").string();
  const int result = InChild([&] {
    if (!PrivateMounts() || !MountTmpfs(usb)) return 77;
    PosixPlatform platform;
    auto root = platform.OpenFolderNoLinks(home.Root().string()).folder;
    MoveResult moved = root->MoveChild("Plans", *platform.OpenFolderNoLinks(usb).folder, "Plans");
    return !moved && moved.reason.find("another file system") != std::string::npos &&
                   ReadText(home.Root() / "Plans" / "a.txt") == "alpha"
               ? 0
               : 1;
  });
  if (result == 77) GTEST_SKIP() << "cannot mount a tmpfs here";
  EXPECT_EQ(result, 0);
}

TEST(Mounts, TheLongestContainingMountPointIsTheDrive) {
  const std::vector<std::string> mounts = ParseMountPoints(
      "22 1 8:1 / / rw,relatime - ext4 /dev/sda1 rw\n"
      "40 22 0:35 / /home/me/usb\\040stick rw - vfat /dev/sdb1 rw\n"
      "41 22 0:36 / /home rw - ext4 /dev/sda2 rw\n"
      "42 22 0:37 / /ho rw - ext4 /dev/sda3 rw\n");
  ASSERT_EQ(mounts, (std::vector<std::string>{"/", "/home/me/usb stick", "/home", "/ho"}));
  const std::pair<const char*, const char*> cases[] = {
      {"/home/me/Work", "/home/"},
      {"/home/me/usb stick", "/home/me/usb stick/"},
      {"/home/me/usb stick2/x", "/home/"},  // a name prefix is no parent
      {"/house", "/"},
      {"/", "/"}};
  for (const auto& [path, drive] : cases) EXPECT_EQ(MountPointOf(path, mounts), drive) << path;
}

TEST(Mounts, AFolderAndItsFutureChildrenShareADrive) {
  TempHome home;
  PosixPlatform platform;
  const std::string folder = home.MakeFolder("a").string();
  const std::string key = platform.DriveKey(folder);
  EXPECT_EQ(key.back(), '/');
  EXPECT_EQ(platform.DriveKey(folder + "/not/yet/there"), key);
  EXPECT_EQ(platform.DriveKey("/proc/self"), "/proc/");
}

// One running copy sees a drive mounted or taken away while it runs, also
// through a link to it.
TEST(Mounts, ADriveMountedOrTakenAwayIsSeenAtOnce) {
  TempHome home;
  const std::string usb = home.MakeFolder("usb").string();
  fs::create_directory_symlink(usb, home.Root() / "link");
  const std::string link = (home.Root() / "link" / "Plans").string();
  const int result = InChild([&] {
    if (!PrivateMounts()) return 77;
    PosixPlatform platform;
    const std::string before = platform.DriveKey(link);
    if (!MountTmpfs(usb)) return 77;
    const std::string mounted = platform.DriveKey(link);
    const bool unmounted = ::umount(usb.c_str()) == 0;
    return mounted == usb + "/" && unmounted && platform.DriveKey(link) == before ? 0 : 1;
  });
  if (result == 77) GTEST_SKIP() << "cannot mount a tmpfs here";
  EXPECT_EQ(result, 0);
}

}  // namespace
}  // namespace veilbox
