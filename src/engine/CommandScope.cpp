#include "engine/CommandScope.h"

#include "app/Constants.h"
#include "app/DataWait.h"
#include "app/FolderData.h"
#include "app/Settings.h"

namespace veilbox {

CommandScope::CommandScope(Session& session) : lock_(LockDataSaid(session)) {
  session.store_memos.clear();
  const std::string stores = GetString(session, SettingsRoot::CurrentUser, kMainKey,
                                       std::string(kAppname) + kHideFolderPathSuffix);
  if (!stores.empty()) session.stores = StoreList::Parse(stores);
  session.store_drives = StoreDrives::Parse(GetString(session, SettingsRoot::CurrentUser, kMainKey,
                                                      std::string(kAppname) + kStoreDrivesSuffix));
  list_read_ = session.ReadFolders();
}

}  // namespace veilbox
