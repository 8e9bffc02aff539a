// The fixed values of start-up.
#pragma once

namespace veilbox {

constexpr const char* kAppname = "Veilbox";
constexpr const char* kMainKey = "SOFTWARE\\TK";
constexpr const char* kDataFileName = "Dat.sys";
// Beside Dat.sys: the journal of the command in progress, and the marker of
// store folders held unlocked.
constexpr const char* kJournalSuffix = ".journal";
constexpr const char* kUnlockMarkerSuffix = ".unlocked";
constexpr const char* kDefaultStoreFolderName = "Data";
constexpr const char* kCurrentVersion = "1.04";
// Follows the application's name in the key text of the password and file
// name cipher. Changing it makes every stored password and encrypted name
// unreadable.
constexpr const char* kKeyText = "-k7Q2m9Zx4Lp8Wv3R";

constexpr const char* kSystemRootKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

// Value names below kMainKey.
constexpr const char* kHideFolderPathSuffix = "HideFolderPath";
constexpr const char* kStoreDrivesSuffix = "StoreDrives";
constexpr const char* kFirstTimeSuffix = "FirstTime";
constexpr const char* kPasswordSuffix = "Password";

}  // namespace veilbox
