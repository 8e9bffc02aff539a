// The process-wide state: one object, owned by the front end and passed by
// reference, holding what every subsystem reads and the services it uses.
#pragma once

#include <chrono>
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/ErrorReporter.h"
#include "app/Dialogue.h"
#include "platform/Platform.h"

namespace veilbox {

// What the running command learnt of a store folder it judged fit to take
// folders: the folder it judged, and the names its entries hold.
struct StoreMemo {
  EntryId id;
  std::unordered_set<std::string> taken;  // compared without regard to case
};

struct AppState {
  AppState(Platform& platform_layer, Dialogue& user_dialogue)
      : platform(platform_layer), dialogue(user_dialogue), reporter(user_dialogue) {}

  Platform& platform;
  Dialogue& dialogue;
  ErrorReporter reporter;

  std::string Appname;
  std::string MainKey;
  std::string WinPath;
  std::string SrcDataFilename;
  std::string EncryptDecryptKey;
  std::string UpdateURL;
  std::string CurrentVersion;
  std::string HideFolderPath;    // store-folder list: "path*path*"
  std::string StoreDrives;       // drive keys of the store folders used: "path<drive*"
  std::string HiddenFolderData;  // folder database: "name<path<status<encryption<actual*..."

  // How long a command or a settings write waits for another copy's data
  // lock before it gives up (tests shorten it).
  std::chrono::milliseconds DataLockLimit = kDataLockLimit;

  // The store folders the running command judged, by path; cleared when a
  // command starts, since anything may change while no copy holds the data.
  std::map<std::string, StoreMemo> StoreMemos;
  bool DonePassword = false;
  bool CreatePassword = false;
  bool EnterPassword = false;

  // Lists filled by the file finder; element 0 stays empty.
  std::vector<std::string> FileArray{""};
  std::vector<std::string> FolderArray{""};
};

}  // namespace veilbox
