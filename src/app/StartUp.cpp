#include "app/StartUp.h"

#include "app/Constants.h"
#include "app/Settings.h"
#include "app/StartPlaces.h"
#include "app/VersionCheck.h"
#include "net/UpdateAddress.h"
#include "store/TextUtil.h"

namespace veilbox {
namespace {}  // namespace

bool StartPlacesTrusted(AppState& state) {
  const std::optional<std::string> problem = StartPlaceProblem(state.platform);
  if (problem) state.dialogue.Tell(*problem, kAppname, Icon::Critical);
  return !problem;
}

StartUpResult StartUp(AppState& state, VersionCheck version_check) {
  if (!StartPlacesTrusted(state)) return StartUpResult::Refused;
  StartUpResult result = StartUpResult::Continue;
  Trap(state.reporter, [&] {
    state.WinPath = GetString(state, SettingsRoot::LocalMachine, kSystemRootKey, "SystemRoot");
    const std::string program_folder = state.platform.ProgramFolder();
    state.SrcDataFilename = JoinPath(program_folder, kDataFileName);
    state.Appname = kAppname;
    state.EncryptDecryptKey = state.Appname + kKeyText;
    state.UpdateURL = UpdateAddress();
    state.MainKey = kMainKey;

    const std::string store_value = state.Appname + kHideFolderPathSuffix;
    state.HideFolderPath = GetString(state, SettingsRoot::CurrentUser, state.MainKey, store_value);
    if (state.HideFolderPath.empty()) {
      state.HideFolderPath = JoinPath(program_folder, kDefaultStoreFolderName) + "*";
      SaveString(state, SettingsRoot::CurrentUser, state.MainKey, store_value,
                 state.HideFolderPath);
    }
    state.CurrentVersion = kCurrentVersion;

    if (version_check == VersionCheck::Run && RunVersionCheck(state)) {
      result = StartUpResult::EndProgram;
      return;
    }

    const std::string first_time = state.Appname + kFirstTimeSuffix;
    if (GetString(state, SettingsRoot::CurrentUser, state.MainKey, first_time).empty()) {
      if (state.dialogue.Ask(ask::Agreement{}) != Answer::Yes) {
        result = StartUpResult::EndProgram;
        return;
      }
      SaveString(state, SettingsRoot::CurrentUser, state.MainKey, first_time, "No");
    }
  });
  return result;
}

}  // namespace veilbox
