// The start-up password, kept in the settings as a salted slow hash
// (HashedPassword.h; Session::CheckPassword and CreatePassword). A value of
// an older Veilbox, the text cipher's form of the password under the key
// text, opens Veilbox once more and is replaced by the hash at that moment.
#pragma once

#include <optional>
#include <string>

#include "app/Session.h"

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

// Why typed cannot become the password (it is empty, or holds a control
// character); nullopt when it can. Session::CreatePassword never stores a
// password it refuses.
std::optional<std::string> NewPasswordRefusal(const std::string& typed);

}  // namespace veilbox
