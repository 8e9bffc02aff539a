#include "app/Settings.h"

#include "app/DataWait.h"
#include "platform/Codec.h"

namespace veilbox {

std::string GetString(AppState& state, SettingsRoot root, const std::string& key_path,
                      const std::string& name) {
  std::string text;
  Trap(state.reporter, [&] {
    std::optional<std::string> value = state.platform.ReadSetting(root, key_path, name);
    if (value) text = FromAnsi(value->substr(0, value->find('\0')));
  });
  return text;
}

bool SaveString(AppState& state, SettingsRoot root, const std::string& key_path,
                const std::string& name, const std::string& data) {
  return Trap(state.reporter, [&] {
    // Not in the middle of another copy's command, and never waiting for it
    // unsaid or for ever.
    const std::unique_ptr<DataLock> lock = LockDataSaid(state);
    state.platform.WriteSetting(root, key_path, name, ToAnsi(data));
  });
}

}  // namespace veilbox
