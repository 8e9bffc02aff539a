#include "app/Password.h"

#include "app/Constants.h"
#include "app/Settings.h"
#include "crypto/cEncrypt.h"

namespace veilbox {
namespace {

std::string StoredPassword(AppState& state) {
  return GetString(state, SettingsRoot::CurrentUser, state.MainKey,
                   state.Appname + kPasswordSuffix);
}

}  // namespace

bool HasPassword(AppState& state) { return !StoredPassword(state).empty(); }

bool StorePassword(AppState& state, const std::string& typed) {
  if (typed.empty()) return false;
  cEncrypt cipher(state.dialogue);
  const std::string stored = cipher.Encrypt(typed, state.EncryptDecryptKey);
  return !stored.empty() && SaveString(state, SettingsRoot::CurrentUser, state.MainKey,
                                       state.Appname + kPasswordSuffix, stored);
}

bool CheckPassword(AppState& state, const std::string& typed) {
  cEncrypt cipher(state.dialogue);
  std::string plain = cipher.Decrypt(StoredPassword(state), state.EncryptDecryptKey);
  plain.resize(plain.find('\0') == std::string::npos ? plain.size() : plain.find('\0'));
  return !plain.empty() && plain == typed;
}

std::string PasswordConfirmText(const std::string& typed) {
  return "You have entered " + typed +
         " as a password. Do you wish to have this as your password?";
}

}  // namespace veilbox
