#include "engine/CommandScope.h"

#include "app/Constants.h"
#include "app/DataWait.h"
#include "app/FolderData.h"
#include "app/Settings.h"

namespace veilbox {

CommandScope::CommandScope(AppState& state) : lock_(LockDataSaid(state)) {
  state.StoreMemos.clear();
  const std::string stores = GetString(state, SettingsRoot::CurrentUser, state.MainKey,
                                       state.Appname + kHideFolderPathSuffix);
  if (!stores.empty()) state.HideFolderPath = stores;
  state.StoreDrives = GetString(state, SettingsRoot::CurrentUser, state.MainKey,
                                state.Appname + kStoreDrivesSuffix);
  LoadDataFile(state);
}

}  // namespace veilbox
