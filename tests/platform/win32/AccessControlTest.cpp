// Locking and unlocking store folders. Wine keeps no access list as it was
// set, so the lists are checked as StoreFolderAcl makes them, in SDDL, and
// applying one is checked to work on a real folder and to fail loudly.
#include <gmock/gmock.h>
#include <windows.h>
// clang-format off: after windows.h
#include <sddl.h>
// clang-format on

#include <optional>

#include "diag/Failure.h"
#include "platform/win32/AccessControl.h"
#include "platform/win32/Handle.h"
#include "platform/win32/WinPlatform.h"
#include "support/TempHome.h"

namespace veilbox::testing {
namespace {

using ::testing::StartsWith;

// The access list given in SDDL ("D:(A;OICI;FA;;;SY)"), locked or unlocked
// when lock says so, in SDDL as the system writes it.
std::string Changed(const std::string& sddl, std::optional<bool> lock = std::nullopt) {
  PSECURITY_DESCRIPTOR given = nullptr;
  EXPECT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1,
                                                                   &given, nullptr));
  BOOL present = FALSE, defaulted = FALSE;
  PACL acl = nullptr;
  GetSecurityDescriptorDacl(given, &present, &acl, &defaulted);
  std::vector<unsigned char> made(reinterpret_cast<unsigned char*>(acl),
                                  reinterpret_cast<unsigned char*>(acl) + acl->AclSize);
  LocalFree(given);
  if (lock) made = win32::StoreFolderAcl(*reinterpret_cast<ACL*>(made.data()), *lock, {});
  SECURITY_DESCRIPTOR descriptor;
  InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
  SetSecurityDescriptorDacl(&descriptor, TRUE, reinterpret_cast<ACL*>(made.data()), FALSE);
  char* text = nullptr;
  ConvertSecurityDescriptorToStringSecurityDescriptorA(&descriptor, SDDL_REVISION_1,
                                                       DACL_SECURITY_INFORMATION, &text, nullptr);
  const std::string written = text;
  LocalFree(text);
  return written;
}

TEST(AccessControl, LockDeniesUsersAndUnlockLeavesTheFolderToItsOwnEntries) {
  // A store folder Veilbox made: the user and the system; BU is Users.
  const std::string own = "(A;OICI;FA;;;S-1-5-21-7-8-9-1001)(A;OICI;FA;;;SY)";
  const std::string others = "(D;;FA;;;BG)(A;;FA;;;BA)(A;OICIID;FR;;;BU)";
  const struct {
    const char* start;
    std::string from, unlocked;  // locked: a deny entry for Users in front
  } cases[] = {
      {"made by Veilbox", "D:" + own, own},
      {"the old lock", "D:(D;OICI;FA;;;BU)" + own, own},
      {"the old unlock", "D:" + own + "(A;OICI;FA;;;BU)", own},
      {"other accounts, and Users inherited", "D:" + others, others},
  };
  for (const auto& c : cases) {
    const std::string locked = Changed("D:(D;;FA;;;BU)" + c.unlocked);
    const std::string unlocked = Changed("D:" + c.unlocked);
    EXPECT_EQ(Changed(c.from, true), locked) << c.start;
    EXPECT_EQ(Changed(c.from, false), unlocked) << c.start;
    EXPECT_EQ(Changed(locked, false), unlocked) << c.start;
    EXPECT_EQ(Changed(locked, true), locked) << c.start << ": locked twice";
    EXPECT_EQ(Changed(unlocked, true), locked) << c.start << ": locked again";
  }
}

TEST(AccessControl, AStoreFolderIsChangedThroughItsOwnHandleAndFailuresAreRaised) {
  TempHome home;
  const std::string store = home.MakeFolder("My Vault").string();
  const std::string file = (home.Root() / "file").string();
  WriteText(file, "x");
  WinPlatform platform;
  platform.LockFolder(store);
  platform.UnlockFolder(store);
  WriteText(home.Root() / "My Vault" / "after.txt", "ok");  // usable again once unlocked
  platform.LockFolder(store + "\\missing");                 // skipped silently
  EXPECT_THROW(platform.LockFolder(file), Failure);

  // A handle that may read the list but not change it.
  win32::Handle read_only(CreateFileW(std::filesystem::path(store).c_str(), READ_CONTROL,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  ASSERT_TRUE(read_only.Valid());
  EXPECT_THAT([&] { win32::ChangeStoreFolderAccess(read_only.Get(), true, "Cannot lock X", {}); },
              ::testing::ThrowsMessage<Failure>(StartsWith("Cannot lock X: ")));
}

}  // namespace
}  // namespace veilbox::testing
