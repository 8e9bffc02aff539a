#include "platform/win32/AccessControl.h"

// clang-format off: the security headers need windows.h first.
#include <aclapi.h>
// clang-format on

#include <memory>

#include "diag/Failure.h"
#include "platform/win32/WinError.h"

namespace veilbox::win32 {
namespace {

struct LocalFreer {
  void operator()(void* memory) const { LocalFree(memory); }
};

std::vector<unsigned char> UsersSid(Where where) {
  DWORD size = SECURITY_MAX_SID_SIZE;
  std::vector<unsigned char> sid(size);
  if (!CreateWellKnownSid(WinBuiltinUsersSid, nullptr, sid.data(), &size)) {
    RaiseWin32(GetLastError(), "Cannot name the Users group", where);
  }
  return sid;
}

// An allow or deny entry of the folder's own for sid.
bool OwnEntryFor(const ACE_HEADER& ace, PSID sid) {
  if (ace.AceType != ACCESS_ALLOWED_ACE_TYPE && ace.AceType != ACCESS_DENIED_ACE_TYPE) return false;
  if (ace.AceFlags & INHERITED_ACE) return false;
  // Allow and deny entries share one layout: mask, then the SID.
  const auto& entry = reinterpret_cast<const ACCESS_ALLOWED_ACE&>(ace);
  return EqualSid(const_cast<DWORD*>(&entry.SidStart), sid);
}

}  // namespace

std::vector<unsigned char> StoreFolderAcl(const ACL& present, bool lock, Where where) {
  std::vector<unsigned char> users = UsersSid(where);
  auto* acl = const_cast<ACL*>(&present);
  std::vector<ACE_HEADER*> kept;
  DWORD size = sizeof(ACL);
  for (DWORD i = 0; i < present.AceCount; ++i) {
    void* ace = nullptr;
    if (!GetAce(acl, i, &ace)) RaiseWin32(GetLastError(), "Cannot read an access list", where);
    auto* header = static_cast<ACE_HEADER*>(ace);
    if (OwnEntryFor(*header, users.data())) continue;
    kept.push_back(header);
    size += header->AceSize;
  }
  if (lock) size += sizeof(ACCESS_DENIED_ACE) - sizeof(DWORD) + GetLengthSid(users.data());
  std::vector<unsigned char> result(size);
  auto* made = reinterpret_cast<ACL*>(result.data());
  bool ok = InitializeAcl(made, size, present.AclRevision);
  if (ok && lock)
    ok = AddAccessDeniedAceEx(made, present.AclRevision, 0, FILE_ALL_ACCESS, users.data());
  for (ACE_HEADER* header : kept) {
    if (ok) ok = AddAce(made, present.AclRevision, MAXDWORD, header, header->AceSize);
  }
  if (!ok) RaiseWin32(GetLastError(), "Cannot make an access list", where);
  return result;
}

void ChangeStoreFolderAccess(HANDLE folder, bool lock, const std::string& what, Where where) {
  PACL present = nullptr;
  PSECURITY_DESCRIPTOR read = nullptr;
  const DWORD error = GetSecurityInfo(folder, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                      nullptr, &present, nullptr, &read);
  if (error != ERROR_SUCCESS) RaiseWin32(error, what, where);
  const std::unique_ptr<void, LocalFreer> owned(read);
  if (!present) {
    if (!lock) return;
    Raise(err::kPathFileAccess, what + ": it has no access list, so everyone may use it", where);
  }
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  GetSecurityDescriptorControl(read, &control, &revision);
  std::vector<unsigned char> acl = StoreFolderAcl(*present, lock, where);
  // Set as it is, with its protection from the parent's entries unchanged:
  // SetSecurityInfo would pass the parent's entries on anew to everything
  // inside, the hidden folders included.
  SECURITY_DESCRIPTOR next;
  constexpr SECURITY_DESCRIPTOR_CONTROL kKept = SE_DACL_PROTECTED | SE_DACL_AUTO_INHERITED;
  if (!InitializeSecurityDescriptor(&next, SECURITY_DESCRIPTOR_REVISION) ||
      !SetSecurityDescriptorDacl(&next, TRUE, reinterpret_cast<ACL*>(acl.data()), FALSE) ||
      !SetSecurityDescriptorControl(&next, kKept, control & kKept) ||
      !SetKernelObjectSecurity(folder, DACL_SECURITY_INFORMATION, &next)) {
    RaiseWin32(GetLastError(), what, where);
  }
}

}  // namespace veilbox::win32
