#include "engine/StoreSetup.h"

#include "app/Constants.h"
#include "app/Settings.h"
#include "diag/Failure.h"
#include "engine/Messages.h"
#include "store/StoreList.h"

namespace veilbox {

bool RunStoreSetup(AppState& state, const std::string& drive, const std::string& question) {
  if (state.dialogue.Ask(question + drive + "?", "New folder", Icon::Question,
                         Buttons::YesNoCancel) != Answer::Yes) {
    return false;
  }
  std::string chosen;
  for (;;) {
    chosen = state.dialogue.ChooseFolder(msg::kChooseStoreTitle);
    if (!chosen.empty() && state.platform.DriveKey(chosen) == drive) break;
    if (state.dialogue.Ask(msg::NotOnDrive(drive), "Folder", Icon::Question,
                           Buttons::YesNoCancel) != Answer::Yes) {
      return false;
    }
  }
  std::string list;
  try {
    list = AddStoreFolder(state.HideFolderPath, chosen);
  } catch (const Failure& f) {
    state.dialogue.Tell(f.Description(), "Folder");
    return false;
  }
  if (!SaveString(state, SettingsRoot::CurrentUser, state.MainKey,
                  state.Appname + kHideFolderPathSuffix, list)) {
    return false;
  }
  state.HideFolderPath = list;
  return true;
}

std::optional<std::string> StoreFolderOf(AppState& state, const std::string& path) {
  return StoreFolderForDrive(state.platform, state.HideFolderPath, path);
}

}  // namespace veilbox
