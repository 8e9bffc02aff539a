// Locking store folders. Wine keeps no access list as it was set, so the
// lists are checked as StoreFolderAcl makes them, in SDDL.
#include <gmock/gmock.h>
#include <windows.h>
// clang-format off: after windows.h
#include <sddl.h>
// clang-format on

#include <optional>

#include "diag/Failure.h"
#include "platform/win32/AccessControl.h"
#include "platform/win32/Handle.h"
#include "support/TempHome.h"

namespace veilbox::testing {
namespace {

using ::testing::StartsWith;

// The access list given in SDDL, locked or unlocked when lock says so, in
// SDDL as the system writes it.
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
  // Veilbox's own entries: the user and the system; BU is Users.
  const std::string own = "(A;OICI;FA;;;S-1-5-21-7-8-9-1001)(A;OICI;FA;;;SY)";
  const std::string others = "(D;;FA;;;BG)(A;;FA;;;BA)(A;OICIID;FR;;;BU)";
  // (start, the list given, unlocked; locked has a deny entry for Users in front)
  const std::tuple<const char*, std::string, std::string> cases[] = {
      {"made by Veilbox", "D:" + own, own},
      {"the old lock", "D:(D;OICI;FA;;;BU)" + own, own},
      {"the old unlock", "D:" + own + "(A;OICI;FA;;;BU)", own},
      {"other accounts, and Users inherited", "D:" + others, others},
  };
  for (const auto& [start, from, entries] : cases) {
    const std::string locked = Changed("D:(D;;FA;;;BU)" + entries);
    const std::string unlocked = Changed("D:" + entries);
    EXPECT_EQ(Changed(from, true), locked) << start;
    EXPECT_EQ(Changed(from, false), unlocked) << start;
    EXPECT_EQ(Changed(locked, false), unlocked) << start;
    EXPECT_EQ(Changed(locked, true), locked) << start << ": locked twice";
    EXPECT_EQ(Changed(unlocked, true), locked) << start << ": locked again";
  }
}

// Through a handle that may read the list but not change it.
TEST(AccessControl, AFailedChangeIsRaisedWithItsReason) {
  TempHome home;
  win32::Handle read_only(CreateFileW(home.MakeFolder("My Vault").c_str(), READ_CONTROL,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  ASSERT_TRUE(read_only.Valid());
  EXPECT_THAT([&] { win32::ChangeStoreFolderAccess(read_only.Get(), true, "Cannot lock X", {}); },
              ::testing::ThrowsMessage<Failure>(StartsWith("Cannot lock X: ")));
}

}  // namespace
}  // namespace veilbox::testing
