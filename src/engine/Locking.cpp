#include "engine/Locking.h"

#include "store/StoreList.h"

namespace veilbox {
namespace {

template <class Change>
bool ForEachStoreFolder(AppState& state, Change change) {
  bool all = true;
  for (const std::string& folder : StoreFolders(state.HideFolderPath)) {
    all = Trap(state.reporter, [&] { change(folder); }) && all;
  }
  return all;
}

}  // namespace

bool LockStoreFolders(AppState& state) {
  return ForEachStoreFolder(state, [&](const std::string& f) { state.platform.LockFolder(f); });
}

bool UnlockStoreFolders(AppState& state) {
  return ForEachStoreFolder(state, [&](const std::string& f) { state.platform.UnlockFolder(f); });
}

}  // namespace veilbox
