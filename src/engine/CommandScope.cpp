#include "engine/CommandScope.h"

#include "app/Constants.h"
#include "app/Settings.h"
#include "store/FolderDatabase.h"

namespace veilbox {

CommandScope::CommandScope(AppState& state)
    : lock_(state.platform.LockData([&state] {
        state.dialogue.Tell(
            "Another copy of Veilbox is changing the folder list. This one goes on as soon as it "
            "has finished.",
            state.Appname);
      })) {
  const std::string stores = GetString(state, SettingsRoot::CurrentUser, state.MainKey,
                                       state.Appname + kHideFolderPathSuffix);
  if (!stores.empty()) state.HideFolderPath = stores;
  LoadDataFile(state);
}

}  // namespace veilbox
