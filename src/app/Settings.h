// The settings store: string values under one key of the current user, each
// name beginning with the application's name.
#pragma once

#include <string>

#include "app/Session.h"

namespace veilbox {

// The value's text up to its first NUL; empty text when the key or value is
// absent, unreadable or not a string. Never fails towards the caller.
std::string GetString(Session& session, SettingsRoot root, const std::string& key_path,
                      const std::string& name);

// Writes a string value once no other copy holds the data lock (waiting at
// most DataLockLimit, see LockDataSaid). A failure is reported; returns
// whether the value was written.
bool SaveString(Session& session, SettingsRoot root, const std::string& key_path,
                const std::string& name, const std::string& data);

}  // namespace veilbox
