// The start-up password: kept in the settings only as the text cipher's form
// of it under EncryptDecryptKey.
#pragma once

#include <string>

#include "app/AppState.h"

namespace veilbox {

// Whether a password has been created.
bool HasPassword(AppState& state);

// Stores typed as the new password; false (after a report) when the write
// failed. An empty password is never stored.
bool StorePassword(AppState& state, const std::string& typed);

// Whether typed is exactly the stored password (case-sensitive, untrimmed).
bool CheckPassword(AppState& state, const std::string& typed);

// The create-mode confirmation question, which shows the typed password.
std::string PasswordConfirmText(const std::string& typed);

}  // namespace veilbox
