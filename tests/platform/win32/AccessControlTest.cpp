// Locking and unlocking store folders through the security calls. Wine keeps
// no access list set on a file as it was set, so the lists are checked as
// StoreFolderAcl makes them, in the system's text form (SDDL), and the call
// that applies one is checked to work on a real folder and to fail loudly.
#include <gmock/gmock.h>
#include <windows.h>
// clang-format off: after windows.h
#include <sddl.h>
// clang-format on

#include "diag/Failure.h"
#include "platform/win32/AccessControl.h"
#include "platform/win32/Handle.h"
#include "platform/win32/WinPlatform.h"
#include "support/TempHome.h"

namespace veilbox::testing {
namespace {

using ::testing::StartsWith;

// The access list of a security descriptor in SDDL ("D:(A;OICI;FA;;;SY)").
std::vector<unsigned char> AclOf(const std::string& sddl) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  EXPECT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1,
                                                                   &descriptor, nullptr))
      << sddl;
  BOOL present = FALSE, defaulted = FALSE;
  PACL acl = nullptr;
  GetSecurityDescriptorDacl(descriptor, &present, &acl, &defaulted);
  std::vector<unsigned char> bytes(reinterpret_cast<unsigned char*>(acl),
                                   reinterpret_cast<unsigned char*>(acl) + acl->AclSize);
  LocalFree(descriptor);
  return bytes;
}

std::string SddlOf(std::vector<unsigned char> acl) {
  SECURITY_DESCRIPTOR descriptor;
  InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
  SetSecurityDescriptorDacl(&descriptor, TRUE, reinterpret_cast<ACL*>(acl.data()), FALSE);
  char* text = nullptr;
  ConvertSecurityDescriptorToStringSecurityDescriptorA(&descriptor, SDDL_REVISION_1,
                                                       DACL_SECURITY_INFORMATION, &text, nullptr);
  const std::string sddl = text;
  LocalFree(text);
  return sddl;
}

// In the form the system writes it.
std::string Same(const std::string& sddl) {
  return SddlOf(AclOf(sddl));
}

std::string After(const std::string& sddl, bool lock) {
  std::vector<unsigned char> acl = AclOf(sddl);
  return SddlOf(win32::StoreFolderAcl(*reinterpret_cast<ACL*>(acl.data()), lock, Where::current()));
}

TEST(AccessControl, LockDeniesUsersAndUnlockLeavesTheFolderToItsOwnEntries) {
  // A store folder Veilbox made: the user (U) and the system; BU is Users.
  const std::string own = "(A;OICI;FA;;;S-1-5-21-7-8-9-1001)(A;OICI;FA;;;SY)";
  const std::string others = "(D;;FA;;;BG)(A;;FA;;;BA)(A;OICIID;FR;;;BU)";
  const struct {
    const char* start;
    std::string from, locked, unlocked;
  } cases[] = {
      {"made by Veilbox", "D:" + own, "D:(D;;FA;;;BU)" + own, "D:" + own},
      {"the old lock", "D:(D;OICI;FA;;;BU)" + own, "D:(D;;FA;;;BU)" + own, "D:" + own},
      {"the old unlock", "D:" + own + "(A;OICI;FA;;;BU)", "D:(D;;FA;;;BU)" + own, "D:" + own},
      {"both old entries", "D:(D;OICI;FA;;;BU)" + own + "(A;OICI;FA;;;BU)", "D:(D;;FA;;;BU)" + own,
       "D:" + own},
      {"other accounts, and Users inherited", "D:" + others, "D:(D;;FA;;;BU)" + others,
       "D:" + others},
  };
  for (const auto& c : cases) {
    const std::string locked = Same(c.locked), unlocked = Same(c.unlocked);
    EXPECT_EQ(After(c.from, true), locked) << c.start;
    EXPECT_EQ(After(c.from, false), unlocked) << c.start;
    EXPECT_EQ(After(locked, false), unlocked) << c.start;
    EXPECT_EQ(After(locked, true), locked) << c.start << ": locked twice";
    EXPECT_EQ(After(unlocked, true), locked) << c.start << ": locked again";
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
  try {
    win32::ChangeStoreFolderAccess(read_only.Get(), true, "Cannot lock " + store, Where::current());
    ADD_FAILURE() << "a list that cannot be set must raise";
  } catch (const Failure& f) {
    EXPECT_THAT(f.Description(), StartsWith("Cannot lock " + store + ": "));
  }
}

}  // namespace
}  // namespace veilbox::testing
