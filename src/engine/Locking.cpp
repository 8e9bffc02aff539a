#include "engine/Locking.h"

#include "store/StoreList.h"

namespace veilbox {
namespace {

template <class Change>
bool ForEachStoreFolder(Session& session, Change change) {
  bool all = true;
  for (const std::string& folder : session.stores.Folders()) {
    all = Trap(session.reporter, [&] { change(folder); }) && all;
  }
  return all;
}

}  // namespace

bool LockStoreFolders(Session& session) {
  return ForEachStoreFolder(session, [&](const std::string& f) { session.platform.LockFolder(f); });
}

bool UnlockStoreFolders(Session& session) {
  return ForEachStoreFolder(session,
                            [&](const std::string& f) { session.platform.UnlockFolder(f); });
}

}  // namespace veilbox
