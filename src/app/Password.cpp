#include "app/Password.h"

#include "app/Constants.h"
#include "app/HashedPassword.h"
#include "app/Settings.h"
#include "crypto/cEncrypt.h"
#include "platform/Codec.h"

namespace veilbox {
namespace {

std::string StoredPassword(Session& session) {
  return GetString(session, SettingsRoot::CurrentUser, kMainKey,
                   std::string(kAppname) + kPasswordSuffix);
}

bool SaveHash(Session& session, const std::string& password) {
  std::string stored;
  // A failure of the platform's cryptography is reported like any other.
  if (!Trap(session.reporter, [&] { stored = NewHashedPassword(password); })) return false;
  return SaveString(session, SettingsRoot::CurrentUser, kMainKey,
                    std::string(kAppname) + kPasswordSuffix, stored);
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

bool Session::HasPassword() {
  return !StoredPassword(*this).empty();
}

std::optional<std::string> NewPasswordRefusal(const std::string& typed) {
  if (typed.empty()) return kEnterPasswordText;
  if (HasControlCharacter(typed)) return kControlCharacterText;
  return std::nullopt;
}

bool Session::CreatePassword(const std::string& typed) {
  return !NewPasswordRefusal(typed) && SaveHash(*this, typed);
}

bool Session::LogIn(const std::string& typed) {
  switch (CheckPassword(typed)) {
    case PasswordCheck::Right:
      return true;
    case PasswordCheck::Wrong:
      dialogue.Tell("Incorrect password, please try again.", kPasswordTitle);
      break;
    case PasswordCheck::Damaged:
      dialogue.Tell(kDamagedPasswordText, kPasswordTitle, Icon::Exclamation);
      break;
  }
  return false;
}

PasswordCheck Session::CheckPassword(const std::string& typed) {
  const std::string stored = StoredPassword(*this);
  std::optional<bool> right;
  // A failure of the platform's cryptography is reported, and lets nobody in.
  if (!Trap(reporter, [&] { right = MatchesHashedPassword(stored, typed); })) {
    return PasswordCheck::Wrong;
  }
  if (right) return *right ? PasswordCheck::Right : PasswordCheck::Wrong;

  const std::optional<std::string> old = cEncrypt().DecryptExact(stored, key_text);
  if (!old) return PasswordCheck::Damaged;
  if (!SameSecret(FromAnsi(*old), typed)) return PasswordCheck::Wrong;
  SaveHash(*this, typed);
  return PasswordCheck::Right;
}

}  // namespace veilbox
