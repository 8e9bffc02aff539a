// The start-up password, kept in the settings as a salted slow hash
// (HashedPassword.h). A value of an older Veilbox, the text cipher's form of
// the password under EncryptDecryptKey, opens Veilbox once more and is
// replaced by the hash at that moment.
#pragma once

#include <optional>
#include <string>

#include "app/AppState.h"

namespace veilbox {

// Title of the password boxes.
constexpr const char* kPasswordTitle = "Password";
constexpr const char* kEnterPasswordText = "Please enter a password.";
constexpr const char* kControlCharacterText =
    "A password cannot contain control characters such as NUL, Tab or a line break. Please "
    "choose another password.";
constexpr const char* kDamagedPasswordText =
    "The stored password is damaged, so no password can open Veilbox. Removing the setting "
    "VeilboxPassword lets you create a new password.";

// Whether a password has been created.
bool HasPassword(AppState& state);

// Why typed cannot become the password (it is empty, or holds a control
// character); nullopt when it can.
std::optional<std::string> NewPasswordRefusal(const std::string& typed);

// Stores typed as the new password; false (after a report) when the write
// failed. A password that NewPasswordRefusal refuses is never stored.
bool StorePassword(AppState& state, const std::string& typed);

enum class PasswordCheck { Right, Wrong, Damaged };

// Whether typed, all of it and in its exact letter case, is the stored
// password. Damaged: the stored value is in no form Veilbox writes, so no
// typed text can be right. A right password in the old form is stored anew
// as a hash (a failed write is reported and the old form kept).
PasswordCheck CheckPassword(AppState& state, const std::string& typed);

}  // namespace veilbox
