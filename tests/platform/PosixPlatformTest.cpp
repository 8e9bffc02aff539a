// The POSIX platform: the program folder, the settings file, listings,
// atomic writes, locks, folders opened without following links (a link
// anywhere on a path is refused, a handle follows its folder, moves and
// renames never replace anything or leave the file system) and drives.
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
  std::optional<std::string> Read(const std::string& name, const std::string& key = kKey) {
    return platform->ReadSetting(SettingsRoot::CurrentUser, key, name);
  }
  void Write(const std::string& name, const std::string& value) {
    platform->WriteSetting(SettingsRoot::CurrentUser, kKey, name, value);
  }
  fs::path Folder() const { return home.SettingsFile().parent_path(); }

  static constexpr const char* kKey = "SOFTWARE\\TK";
  TempHome home;
  std::unique_ptr<Platform> platform = CreatePlatform();
};

TEST_F(SettingsFile, RoundTripsValuesInAPrivateFileWithoutTouchingOthers) {
  EXPECT_EQ(Read("VeilboxPassword"), std::nullopt);
  const std::pair<const char*, const char*> values[] = {
      {"VeilboxFirstTime", "No"}, {"VeilboxHideFolderPath", "/a \"q\"*\\b*"}, {"VeilboxEmpty", ""}};
  for (const auto& [name, value] : values) Write(name, value);
  for (const auto& [name, value] : values) EXPECT_EQ(Read(name), value) << name;
  EXPECT_EQ(Read("VeilboxFirstTime", "SOFTWARE\\Other"), std::nullopt);
  EXPECT_EQ(ModeOf(home.SettingsFile()), 0600u);
  EXPECT_EQ(ModeOf(Folder()), 0700u);
  // No temporary file is left beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(Folder()), fs::directory_iterator()), 1);

  // Text that is not UTF-8 is refused and the file kept as it was.
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

TEST_F(SettingsFile, MachineValuesAreAbsentAndReadOnly) {
  EXPECT_EQ(platform->ReadSetting(SettingsRoot::LocalMachine,
                                  "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "SystemRoot"),
            std::nullopt);
  EXPECT_THROW(platform->WriteSetting(SettingsRoot::LocalMachine, kKey, "X", "y"), Failure);
}

TEST(ListDirectory, ListsEveryEntryWithItsKindInNameOrder) {
  TempHome home;
  PosixPlatform platform;
  const fs::path f = home.MakeFolder("f");
  WriteText(f / "b.txt", "");
  WriteText(f / ".dot", "");
  fs::create_directories(f / "a");
  fs::create_directory_symlink(f / "a", f / "c");

  std::vector<std::pair<std::string, EntryKind>> listed;
  for (const DirEntry& e : platform.ListDirectory(f.string())) listed.emplace_back(e.name, e.kind);
  EXPECT_EQ(listed, (decltype(listed){{".dot", EntryKind::File},
                                      {"a", EntryKind::Directory},
                                      {"b.txt", EntryKind::File},
                                      {"c", EntryKind::Link}}));
  EXPECT_TRUE(platform.FolderExists((f / "a").string()));
  EXPECT_FALSE(platform.FolderExists((f / "c").string())) << "a link to a folder is no folder";
  EXPECT_TRUE(platform.FileExists((f / "c").string()));
  EXPECT_THROW(platform.ListDirectory((f / "missing").string()), Failure);
}

TEST(WriteFileAtomic, ReplacesWholeOrLeavesTheOldFile) {
  TempHome home;
  PosixPlatform platform;
  const fs::path file = home.Root() / "Dat.sys";
  platform.WriteFileAtomic(file.string(), "first");
  platform.WriteFileAtomic(file.string(), "second");
  EXPECT_EQ(platform.ReadFile(file.string()), "second");

  // A folder in the way: the rename fails and nothing is left behind.
  const fs::path blocked = home.MakeFolder("blocked");
  WriteText(blocked / "keep", "keep");
  EXPECT_THROW(platform.WriteFileAtomic(blocked.string(), "x"), Failure);
  EXPECT_EQ(ReadText(blocked / "keep"), "keep");
  EXPECT_EQ(std::distance(fs::directory_iterator(home.Root()), fs::directory_iterator()), 2)
      << "Dat.sys and blocked, no temporary file";
}

TEST(LockFolder, ChangesTheNamedRealFolderOnlyNeverThroughALink) {
  TempHome home;
  PosixPlatform platform;
  const fs::path store = home.MakeFolder("Store");
  platform.LockFolder(store.string());
  EXPECT_EQ(ModeOf(store), 0u);
  platform.UnlockFolder(store.string());
  EXPECT_EQ(ModeOf(store), 0700u);

  EXPECT_NO_THROW(platform.LockFolder((home.Root() / "missing").string()));
  WriteText(home.Root() / "file", "");
  EXPECT_THROW(platform.LockFolder((home.Root() / "file").string()), Failure);

  const fs::path target = home.MakeFolder("target/Store");
  fs::permissions(target, fs::perms(0755));
  fs::create_directory_symlink(target, home.Root() / "link");
  fs::create_directory_symlink(target.parent_path(), home.Root() / "parent");
  for (const fs::path& p : {home.Root() / "link", home.Root() / "parent" / "Store"}) {
    EXPECT_THROW(platform.LockFolder(p.string()), Failure) << p;
    EXPECT_THROW(platform.UnlockFolder(p.string()), Failure) << p;
  }
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

TEST(CreatePrivateFolder, LeavesAFolderAsItIsAndRefusesALinkOnThePath) {
  TempHome home;
  PosixPlatform platform;
  const fs::path store = home.Root() / "Store";
  platform.CreatePrivateFolder(store.string());
  EXPECT_NO_THROW(platform.CreatePrivateFolder(store.string()));
  fs::create_directory_symlink(store, home.Root() / "link");
  EXPECT_THROW(platform.CreatePrivateFolder((home.Root() / "link").string()), Failure);
  EXPECT_THROW(platform.CreatePrivateFolder((home.Root() / "link" / "temp").string()), Failure);
  EXPECT_TRUE(fs::is_empty(store));
}

TEST(OpenFolder, ALinkAnywhereOnThePathIsRefusedAndAMissingPartSaysSo) {
  TempHome home;
  PosixPlatform platform;
  const fs::path real = home.MakeFolder("real/inner");
  fs::create_directory_symlink(home.Root() / "real", home.Root() / "via");
  fs::create_directory_symlink(real, home.Root() / "real" / "last");
  WriteText(home.Root() / "file", "x");
  struct Case {
    fs::path path;
    bool opens, missing;
  } cases[] = {
      {real, true, false},
      {home.Root() / "via" / "inner", false, false},
      {home.Root() / "real" / "last", false, false},
      {home.Root() / "file", false, false},
      {home.Root() / "gone" / "inner", false, true},
  };
  for (const Case& c : cases) {
    OpenedFolder opened = platform.OpenFolderNoLinks(c.path.string());
    EXPECT_EQ(opened.folder != nullptr, c.opens) << c.path;
    EXPECT_EQ(opened.missing, c.missing) << c.path;
    EXPECT_TRUE(c.opens || opened.reason.find(c.path.string()) != std::string::npos) << c.path;
  }
  auto parent = platform.OpenFolderNoLinks((home.Root() / "real").string()).folder;
  EXPECT_THROW(parent->OpenChild("last"), Failure);
  EXPECT_NE(parent->ChildId("last"), parent->OpenChild("inner")->Id());
  EXPECT_FALSE(parent->ChildId("nothing"));
}

TEST(OpenFolder, TheHandleFollowsItsFolderAndMovesNeverReplace) {
  TempHome home;
  PosixPlatform platform;
  const fs::path root = home.Root();
  WriteText(root / "work" / "Plans" / "sub" / "a.txt", "alpha");
  WriteText(root / "work" / "Plans" / "sub" / "b.txt", "beta");
  home.MakeFolder("store/Taken");
  auto work = platform.OpenFolderNoLinks((root / "work").string()).folder;
  auto store = platform.OpenFolderNoLinks((root / "store").string()).folder;
  auto plans = work->OpenChild("Plans");

  EXPECT_FALSE(work->MoveChild("Plans", *store, "Taken"));
  ASSERT_TRUE(work->MoveChild("Plans", *store, "Plans"));
  EXPECT_EQ(store->ChildId("Plans"), plans->Id());
  // A new folder of the old name does not catch the work meant for the moved one.
  home.MakeFolder("work/Plans/sub");
  auto sub = plans->OpenChild("sub");
  EXPECT_FALSE(sub->RenameChild("a.txt", "b.txt"));
  ASSERT_TRUE(sub->RenameChild("a.txt", "c.txt"));
  EXPECT_EQ(ReadText(root / "store" / "Plans" / "sub" / "c.txt"), "alpha");
  EXPECT_EQ(ReadText(root / "store" / "Plans" / "sub" / "b.txt"), "beta");
  EXPECT_TRUE(fs::is_empty(root / "work" / "Plans" / "sub"));

  WriteText(root / "p", "p");
  WriteText(root / "q", "q");
  EXPECT_FALSE(platform.Rename((root / "p").string(), (root / "q").string()));
  EXPECT_EQ(ReadText(root / "q"), "q");
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
