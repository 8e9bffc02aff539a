#include "engine/UnlockMarker.h"

#include <optional>

#include "app/Constants.h"
#include "engine/Locking.h"

namespace veilbox {
namespace {

// The marker's process; nullopt when there is no marker.
std::optional<std::string> MarkerTag(AppState& state) {
  const std::string path = UnlockMarkerPath(state);
  if (!state.platform.FileExists(path)) return std::nullopt;
  return state.platform.ReadFile(path);
}

void RemoveMarker(AppState& state) {
  state.platform.RemoveFile(UnlockMarkerPath(state));
}

// Removes the marker when this process wrote it: another copy's marker
// stays for that copy.
void RemoveOwnMarker(AppState& state) {
  Trap(state.reporter, [&] {
    if (MarkerTag(state) == state.platform.ProcessTag()) RemoveMarker(state);
  });
}

}  // namespace

std::string UnlockMarkerPath(const AppState& state) {
  return state.SrcDataFilename + kUnlockMarkerSuffix;
}

bool UnlockStoreFoldersForAWhile(AppState& state) {
  const bool marked = Trap(state.reporter, [&] {
    state.platform.WriteFileAtomic(UnlockMarkerPath(state), state.platform.ProcessTag());
  });
  return marked && UnlockStoreFolders(state);
}

bool LockStoreFoldersAgain(AppState& state) {
  if (!LockStoreFolders(state)) return false;
  RemoveOwnMarker(state);
  return true;
}

void LeaveStoreFoldersUnlocked(AppState& state) {
  RemoveOwnMarker(state);
}

void RelockAfterStoppedRun(AppState& state) {
  Trap(state.reporter, [&] {
    const std::optional<std::string> tag = MarkerTag(state);
    if (!tag || state.platform.ProcessRunning(*tag)) return;
    if (!LockStoreFolders(state)) return;  // reported; the next start tries again
    RemoveMarker(state);
    state.dialogue.Tell(
        "A previous run of Veilbox ended without locking the hidden/locked folders; they are "
        "locked now.",
        state.Appname);
  });
}

}  // namespace veilbox
