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

namespace {

// A security descriptor whose protected access list gives the user and
// the system full control, passed on to what is made inside when inherit is
// set; freed with LocalFree. Null when it could not be made.
PSECURITY_DESCRIPTOR PrivateDescriptor(bool inherit) {
  std::vector<unsigned char> token_user = TokenUser();
  LPWSTR sid_text = nullptr;
  if (UserSid(token_user) == nullptr || !ConvertSidToStringSidW(UserSid(token_user), &sid_text)) {
    return nullptr;
  }
  const std::wstring flags = inherit ? L"OICI" : L"";
  const std::wstring sddl =
      L"D:P(A;" + flags + L";FA;;;" + sid_text + L")(A;" + flags + L";FA;;;SY)";
  LocalFree(sid_text);
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                            &descriptor, nullptr)) {
    return nullptr;
  }
  return descriptor;
}

// Whether an access mask lets its holder change the entry or what is in it.
bool Writes(ACCESS_MASK mask) {
  return (mask & (GENERIC_ALL | GENERIC_WRITE | FILE_WRITE_DATA | FILE_APPEND_DATA |
                  FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER)) != 0;
}

// Whether sid is one that may change the user's own files: the user, the
// system or the Administrators.
bool Trusted(PSID sid, PSID user) {
  return EqualSid(sid, user) || IsWellKnownSid(sid, WinLocalSystemSid) ||
         IsWellKnownSid(sid, WinBuiltinAdministratorsSid);
}

}  // namespace

std::optional<std::string> NotPrivateEntry(const std::wstring& path) {
  HANDLE entry =
      CreateFileW(path.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (entry == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::nullopt;
    return "cannot be looked at (error " + std::to_string(error) + ")";
  }
  BY_HANDLE_FILE_INFORMATION info;
  const bool reparse = GetFileInformationByHandle(entry, &info) &&
                       (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  const DWORD read = GetSecurityInfo(entry, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                     nullptr, &dacl, nullptr, &descriptor);
  CloseHandle(entry);
  if (reparse) {
    if (descriptor) LocalFree(descriptor);
    return "is a link";
  }
  if (!OwnedByCurrentUser(path)) {
    if (descriptor) LocalFree(descriptor);
    return "belongs to another user";
  }
  if (read != ERROR_SUCCESS) return std::nullopt;  // as for an owner that cannot be read
  std::vector<unsigned char> token_user = TokenUser();
  const PSID user = UserSid(token_user);
  bool others_write = dacl == nullptr;  // no access list lets everyone in
  for (DWORD i = 0; dacl != nullptr && user != nullptr && i < dacl->AceCount; ++i) {
    ACE_HEADER* ace = nullptr;
    if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace))) continue;
    if (ace->AceType != ACCESS_ALLOWED_ACE_TYPE || (ace->AceFlags & INHERIT_ONLY_ACE)) continue;
    auto* allowed = reinterpret_cast<ACCESS_ALLOWED_ACE*>(ace);
    if (Writes(allowed->Mask) && !Trusted(&allowed->SidStart, user)) others_write = true;
  }
  LocalFree(descriptor);
  if (others_write) return "can be changed by other users (see its Security properties)";
  return std::nullopt;
}

namespace {

// Gives the open entry the private access list: ERROR_SUCCESS or an error.
DWORD SetPrivateAccess(HANDLE entry) {
  PSECURITY_DESCRIPTOR descriptor = PrivateDescriptor(false);
  if (!descriptor) return GetLastError();
  BOOL present = FALSE, defaulted = FALSE;
  PACL dacl = nullptr;
  DWORD error = ERROR_INVALID_SECURITY_DESCR;
  if (GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted)) {
    error = SetSecurityInfo(entry, SE_FILE_OBJECT,
                            DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                            nullptr, nullptr, dacl, nullptr);
  }
  LocalFree(descriptor);
  return error;
}

}  // namespace

bool MakePrivateEntry(const std::wstring& path) {
  HANDLE entry =
      CreateFileW(path.c_str(), WRITE_DAC | READ_CONTROL,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (entry == INVALID_HANDLE_VALUE) return false;
  const DWORD error = SetPrivateAccess(entry);
  CloseHandle(entry);
  SetLastError(error);
  return error == ERROR_SUCCESS;
}

HANDLE OpenPrivateFileForAppend(const std::wstring& path) {
  PSECURITY_DESCRIPTOR descriptor = PrivateDescriptor(false);
  if (!descriptor) return INVALID_HANDLE_VALUE;
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
  HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA | FILE_READ_DATA | WRITE_DAC,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, &attributes, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD error = GetLastError();
  LocalFree(descriptor);
  // A file that was there already keeps the access list it had until now.
  if (file != INVALID_HANDLE_VALUE && error == ERROR_ALREADY_EXISTS) {
    error = SetPrivateAccess(file);
    if (error != ERROR_SUCCESS) {
      CloseHandle(file);
      file = INVALID_HANDLE_VALUE;
    }
  }
  SetLastError(error);
  return file;
}

bool CreatePrivateDirectory(const std::wstring& path) {
  PSECURITY_DESCRIPTOR descriptor = PrivateDescriptor(true);
  if (!descriptor) return false;
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
  const BOOL made = CreateDirectoryW(SystemPath(path).c_str(), &attributes);
  const DWORD error = GetLastError();
  LocalFree(descriptor);
  SetLastError(error);
  return made != 0;
}

}  // namespace veilbox::win32
