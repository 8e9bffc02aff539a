// Locking and unlocking store folders with cacls.exe. Wine's cacls.exe is a
// stub that changes nothing, so the access lists themselves cannot be
// checked under Wine: these tests check the command lines and that the real
// tool is started and waited for.
#include <gmock/gmock.h>

#include "diag/Failure.h"
#include "platform/win32/AccessControl.h"
#include "platform/win32/WinPlatform.h"
#include "support/TempHome.h"

namespace veilbox::testing {
namespace {

using ::testing::ElementsAre;

class RecordingPlatform : public WinPlatform {
 public:
  std::vector<std::string> commands;

 protected:
  void RunHidden(const std::string& command_line, Where) override {
    commands.push_back(command_line);
  }
};

TEST(AccessControl, CommandLinesQuoteTheFolderAndEditTheUsersEntry) {
  EXPECT_EQ(win32::CaclsCommandLine("C:\\WINDOWS", "D:\\Hide", true),
            "C:\\WINDOWS\\System32\\cacls.exe \"D:\\Hide\" /E /D USERS");
  EXPECT_EQ(win32::CaclsCommandLine("C:\\WINDOWS", "C:\\My Vault", false),
            "C:\\WINDOWS\\System32\\cacls.exe \"C:\\My Vault\" /E /G USERS:F");
}

TEST(AccessControl, EachExistingStoreFolderGetsItsCommandFromTheWindowsFolder) {
  TempHome home;
  const std::string vault = home.MakeFolder("My Vault").string();
  const std::string file = (home.Root() / "file").string();
  WriteText(file, "x");
  RecordingPlatform platform;
  platform.UnlockFolder(vault);
  platform.LockFolder(vault);
  platform.LockFolder(vault + "\\missing");  // skipped silently
  EXPECT_THROW(platform.LockFolder(file), Failure);
  const std::string cacls = platform.WindowsFolder() + "\\System32\\cacls.exe \"" + vault + "\"";
  EXPECT_THAT(platform.commands, ElementsAre(cacls + " /E /G USERS:F", cacls + " /E /D USERS"));
}

TEST(AccessControl, TheRealToolRunsHiddenAndTheFolderStaysUsableUnderWine) {
  TempHome home;
  const std::string store = home.MakeFolder("Data").string();
  WinPlatform platform;
  platform.LockFolder(store);
  platform.UnlockFolder(store);
  // On Windows the lock denies the Users group; Wine's stub leaves it as is.
  WriteText(home.Root() / "Data" / "after.txt", "ok");
  EXPECT_EQ(ReadText(home.Root() / "Data" / "after.txt"), "ok");
  EXPECT_THROW(win32::StartHidden("C:\\no\\such\\program.exe", 1000, Where::current()), Failure);
}

}  // namespace
}  // namespace veilbox::testing
