#include "app/Password.h"

#include "app/Constants.h"
#include "app/HashedPassword.h"
#include "app/Settings.h"
#include "crypto/cEncrypt.h"
#include "platform/Codec.h"

namespace veilbox {
namespace {

std::string StoredPassword(AppState& state) {
  return GetString(state, SettingsRoot::CurrentUser, state.MainKey,
                   state.Appname + kPasswordSuffix);
}

bool SaveHash(AppState& state, const std::string& password) {
  std::string stored;
  // A failure of the platform's cryptography is reported like any other.
  if (!Trap(state.reporter, [&] { stored = NewHashedPassword(password); })) return false;
  return SaveString(state, SettingsRoot::CurrentUser, state.MainKey,
                    state.Appname + kPasswordSuffix, stored);
}

// C0 controls, DEL, and the C1 controls U+0080 to U+009F in UTF-8.
bool HasControlCharacter(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const bool c1 = c == 0xC2 && i + 1 < text.size() &&
                    static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                    static_cast<unsigned char>(text[i + 1]) <= 0x9F;
    if (c < 0x20 || c == 0x7F || c1) return true;
  }
  return false;
}

}  // namespace

bool HasPassword(AppState& state) {
  return !StoredPassword(state).empty();
}

std::optional<std::string> NewPasswordRefusal(const std::string& typed) {
  if (typed.empty()) return kEnterPasswordText;
  if (HasControlCharacter(typed)) return kControlCharacterText;
  return std::nullopt;
}

bool StorePassword(AppState& state, const std::string& typed) {
  return !NewPasswordRefusal(typed) && SaveHash(state, typed);
}

PasswordCheck CheckPassword(AppState& state, const std::string& typed) {
  const std::string stored = StoredPassword(state);
  std::optional<bool> right;
  // A failure of the platform's cryptography is reported, and lets nobody in.
  if (!Trap(state.reporter, [&] { right = MatchesHashedPassword(stored, typed); })) {
    return PasswordCheck::Wrong;
  }
  if (right) return *right ? PasswordCheck::Right : PasswordCheck::Wrong;

  const std::optional<std::string> old = cEncrypt().DecryptExact(stored, state.EncryptDecryptKey);
  if (!old) return PasswordCheck::Damaged;
  if (!SameSecret(FromAnsi(*old), typed)) return PasswordCheck::Wrong;
  SaveHash(state, typed);
  return PasswordCheck::Right;
}

}  // namespace veilbox
