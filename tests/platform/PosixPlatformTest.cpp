// What only the POSIX platform does: modes, the settings file, moves and drives.
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>

#include <filesystem>
#include <functional>

#include "diag/Failure.h"
#include "platform/posix/Mounts.h"
#include "platform/posix/PosixPlatform.h"
#include "support/TempHome.h"

namespace veilbox::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

unsigned ModeOf(const fs::path& p) {
  struct stat st;
  return ::lstat(p.c_str(), &st) == 0 ? st.st_mode & 0777 : 01000;
}

// body's exit code in a child process; -1 when it did not end by itself.
int InChild(const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(body());
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

class Posix : public ::testing::Test {
 protected:
  std::string At(const std::string& relative) const { return (home.Root() / relative).string(); }
  std::optional<std::string> Read(const std::string& name) {
    return platform->ReadSetting(SettingsRoot::CurrentUser, "SOFTWARE\\TK", name);
  }
  void Write(const std::string& name, const std::string& value) {
    platform->WriteSetting(SettingsRoot::CurrentUser, "SOFTWARE\\TK", name, value);
  }

  TempHome home;
  std::unique_ptr<Platform> platform = CreatePlatform();
  const fs::path settings = home.SettingsFile(), folder = settings.parent_path();
};

TEST_F(Posix, TheProgramFolderAndSettingsFileArePrivateWhichTakesOnlyUtf8AndKeepsOtherTypes) {
  unsetenv("VEILBOX_HOME");
  EXPECT_EQ(platform->ProgramFolder(), At("data/veilbox"));
  EXPECT_EQ(ModeOf(At("data/veilbox")), 0700u);
  Write("VeilboxFirstTime", "No");  // and no temporary file beside it
  EXPECT_EQ((std::tuple{ModeOf(settings), ModeOf(folder),
                        std::distance(fs::directory_iterator(folder), fs::directory_iterator())}),
            std::tuple(0600u, 0700u, 1));
  WriteText(settings, R"({"SOFTWARE\\TK": {"VeilboxNumber": 12, "VeilboxList": [1]}})");
  Write("VeilboxFirstTime", "No");
  const std::string before = ReadText(settings);
  EXPECT_NE(before.find("\"VeilboxNumber\": 12"), std::string::npos);
  EXPECT_THROW(Write("VeilboxHideFolderPath", "/bad\xff*"), Failure);
  EXPECT_EQ(ReadText(settings), before);
}

TEST_F(Posix, ADamagedSettingsFileReadsEmptyAndIsKeptAsideBeforeANewOneIsWritten) {
  for (const std::string damaged : {"{not json", "[1, 2]", R"({"SOFTWARE\\TK": "text"})"}) {
    SCOPED_TRACE(damaged);
    fs::remove_all(folder);
    WriteText(settings, damaged);
    fs::permissions(settings, fs::perms(0644));  // the copy kept aside becomes private
    platform = CreatePlatform();
    EXPECT_EQ(Read("VeilboxFirstTime"), std::nullopt);
    EXPECT_EQ(ReadText(settings), damaged) << "reading must not change the file";
    Write("VeilboxFirstTime", "No");
    EXPECT_EQ(Read("VeilboxFirstTime"), "No");
    std::vector<std::string> kept;  // what lies beside the new file
    for (const auto& e : fs::directory_iterator(folder))
      if (e.path() != settings)
        kept.push_back(e.path().filename().string().substr(0, 18) + ReadText(e.path()) +
                       (ModeOf(e.path()) == 0600u ? "" : " (not private)"));
    EXPECT_EQ(kept, std::vector<std::string>{"settings.json.bad-" + damaged});
  }
}

// The folder's owner needs no privileges for it.
TEST_F(Posix, LockingChangesTheModeOfTheNamedRealFolderOnly) {
  const fs::path store = home.MakeFolder("Store"), target = home.MakeFolder("target/Store");
  fs::permissions(target, fs::perms(0755));
  fs::create_directory_symlink(target.parent_path(), At("parent"));
  EXPECT_THAT([&] { platform->LockFolder(At("parent/Store")); },
              ThrowsMessage<Failure>(HasSubstr(At("parent") + " is a link")));
  EXPECT_EQ(ModeOf(target), 0755u);

  fs::permissions(home.Root(), fs::perms(0711));
  constexpr uid_t kNobody = 65534;
  const bool root = ::geteuid() == 0;
  if (root && ::chown(store.c_str(), kNobody, kNobody) != 0) GTEST_SKIP() << "no chown here";
  EXPECT_EQ(InChild([&] {
              if (root && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) return 2;
              PosixPlatform unprivileged;
              unprivileged.LockFolder(store.string());
              if (ModeOf(store) != 0) return 3;
              unprivileged.UnlockFolder(store.string());
              return ModeOf(store) == 0700 ? 0 : 4;
            }),
            0);
}

// Moved, a held folder takes its work along (Wine gives a held folder's path as it was opened).
TEST_F(Posix, AHeldFolderFollowsItsFolder) {
  WriteText(At("work/Plans/sub/a.txt"), "alpha");
  auto plans = platform->OpenFolderNoLinks(At("work/Plans")).folder;
  ASSERT_TRUE(platform->Rename(At("work"), At("moved")));
  home.MakeFolder("work/Plans/sub");
  ASSERT_TRUE(plans->OpenChild("sub")->RenameChild("a.txt", "c.txt"));
  EXPECT_EQ(ReadText(At("moved/Plans/sub/c.txt")), "alpha");
  EXPECT_TRUE(fs::is_empty(At("work/Plans/sub")));
  // Others may change a folder of the user's only where group or others may write it.
  for (const auto& [mode, shared] : {std::pair(0700, false), {0720, true}, {0702, true}}) {
    fs::permissions(At("moved/Plans/sub"), fs::perms(mode));
    EXPECT_EQ(plans->OpenChild("sub")->OthersMayChange(), shared) << std::oct << mode;
  }
}

// A tmpfs mounted in a private mount namespace, seen at once also through a link.
TEST_F(Posix, AnotherFileSystemIsADriveSeenAtOnceThatNoMoveReaches) {
  WriteText(At("Plans/a.txt"), "alpha");
  const std::string usb = home.MakeFolder("usb").string(), link = At("link/Plans");
  fs::create_directory_symlink(usb, At("link"));
  const int result = InChild([&] {
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
      return 77;
    PosixPlatform platform;
    const std::string before = platform.DriveKey(link);
    if (::mount("tmpfs", usb.c_str(), "tmpfs", 0, "size=1m") != 0) return 77;
    const bool mounted = platform.DriveKey(link) == usb + "/";
    auto root = platform.OpenFolderNoLinks(home.Root().string()).folder;
    MoveResult moved = root->MoveChild("Plans", *platform.OpenFolderNoLinks(usb).folder, "Plans");
    const bool refused = !moved && moved.reason.find("another file system") != std::string::npos &&
                         ReadText(At("Plans/a.txt")) == "alpha";
    const bool gone = ::umount(usb.c_str()) == 0 && platform.DriveKey(link) == before;
    return (mounted ? 0 : 1) | (refused ? 0 : 2) | (gone ? 0 : 4);
  });
  if (result == 77) GTEST_SKIP() << "cannot mount a tmpfs here";
  EXPECT_EQ(result, 0) << "1: not seen mounted, 2: moved, 4: not seen taken away";
}

TEST_F(Posix, ANewFileWrittenOnlyInPartIsTakenAwayAndFails) {
  const OpenedFolder opened = platform->OpenFolderNoLinks(home.MakeFolder("a").string());
  EXPECT_EQ(InChild([&] {
              const rlimit limit{10, 10};
              ::signal(SIGXFSZ, SIG_IGN);
              ::setrlimit(RLIMIT_FSIZE, &limit);
              return opened.folder->WriteNewFile("f", std::string(100, 'x')) ? 1 : 0;
            }),
            0);
  EXPECT_FALSE(fs::exists(At("a/f")));
}

// Started without standard input, the program is handed descriptor 0 like any other.
TEST_F(Posix, DescriptorZeroIsAnOrdinaryDescriptor) {
  const std::string deep = home.MakeFolder("a/b").string();
  const FolderLineage before = platform->Lineage(deep);
  const OpenedFolder opened = platform->OpenFolderNoLinks(deep);
  const int input = ::dup(0);
  ::close(0);
  const FolderLineage lineage = platform->Lineage(deep);
  opened.folder->SetModifiedTime({1, 0});
  const bool mounts_read = !MountTable().Points().empty();
  const bool zero_closed = ::fcntl(0, F_GETFD) == -1;
  ::dup2(input, 0);
  ::close(input);
  EXPECT_TRUE(lineage.exists && lineage.ids == before.ids && mounts_read && zero_closed);
}

TEST_F(Posix, TheLongestContainingMountPointIsTheDriveAndHoldsFutureChildren) {
  const std::vector<std::string> mounts = ParseMountPoints(
      "22 1 8:1 / / rw,relatime - ext4 /dev/sda1 rw\n"
      "40 22 0:35 / /home/me/usb\\040stick rw - vfat /dev/sdb1 rw\n"
      "41 22 0:36 / /home rw - ext4 /dev/sda2 rw\n");
  ASSERT_EQ(mounts, (std::vector<std::string>{"/", "/home/me/usb stick", "/home"}));
  const std::pair<const char*, const char*> cases[] = {
      {"/home/me/usb stick", "/home/me/usb stick/"},
      {"/home/me/usb stick2/x", "/home/"},  // a name prefix is no parent
      {"/", "/"}};
  for (const auto& [path, drive] : cases) EXPECT_EQ(MountPointOf(path, mounts), drive) << path;

  const std::string key = platform->DriveKey(home.MakeFolder("a").string());
  EXPECT_EQ(key.back(), '/');
  EXPECT_EQ(platform->DriveKey(At("a/not/yet/there")), key);
  EXPECT_EQ(platform->DriveKey("/proc/self"), "/proc/");
}

}  // namespace
}  // namespace veilbox::testing
