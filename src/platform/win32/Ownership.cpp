#include "platform/win32/Ownership.h"

#include <windows.h>
// clang-format off: the security headers need windows.h first.
#include <aclapi.h>
#include <sddl.h>
// clang-format on

#include <vector>

#include "platform/win32/LongPath.h"

namespace veilbox::win32 {
namespace {

// The token's user, in a buffer that holds the TOKEN_USER and its SID.
std::vector<unsigned char> TokenUser() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  DWORD size = 0;
  GetTokenInformation(token, ::TokenUser, nullptr, 0, &size);
  std::vector<unsigned char> buffer(size);
  if (size == 0 || !GetTokenInformation(token, ::TokenUser, buffer.data(), size, &size)) {
    buffer.clear();
  }
  CloseHandle(token);
  return buffer;
}

PSID UserSid(std::vector<unsigned char>& token_user) {
  return token_user.empty() ? nullptr : reinterpret_cast<TOKEN_USER*>(token_user.data())->User.Sid;
}

}  // namespace

bool OwnedByCurrentUser(const std::wstring& path) {
  HANDLE entry =
      CreateFileW(SystemPath(path).c_str(), READ_CONTROL,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (entry == INVALID_HANDLE_VALUE) return true;
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  const DWORD read = GetSecurityInfo(entry, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner,
                                     nullptr, nullptr, nullptr, &descriptor);
  CloseHandle(entry);
  if (read != ERROR_SUCCESS) return true;
  std::vector<unsigned char> token_user = TokenUser();
  const PSID user = UserSid(token_user);
  BOOL member = FALSE;
  const bool own =
      owner != nullptr && user != nullptr &&
      (EqualSid(owner, user) || (CheckTokenMembership(nullptr, owner, &member) && member));
  LocalFree(descriptor);
  return own;
}

bool CreatePrivateDirectory(const std::wstring& path) {
  std::vector<unsigned char> token_user = TokenUser();
  LPWSTR sid_text = nullptr;
  if (UserSid(token_user) == nullptr || !ConvertSidToStringSidW(UserSid(token_user), &sid_text)) {
    return false;
  }
  // Protected (no entries inherited from the parent); the user and the
  // system get full control of the folder and of what is made inside it.
  const std::wstring sddl = std::wstring(L"D:P(A;OICI;FA;;;") + sid_text + L")(A;OICI;FA;;;SY)";
  LocalFree(sid_text);
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                            &descriptor, nullptr)) {
    return false;
  }
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
  const BOOL made = CreateDirectoryW(SystemPath(path).c_str(), &attributes);
  const DWORD error = GetLastError();
  LocalFree(descriptor);
  SetLastError(error);
  return made != 0;
}

}  // namespace veilbox::win32
