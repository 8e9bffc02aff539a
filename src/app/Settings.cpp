#include "app/Settings.h"

#include "app/DataWait.h"
#include "platform/Codec.h"

namespace veilbox {

std::string GetString(Session& session, SettingsRoot root, const std::string& key_path,
                      const std::string& name) {
  std::string text;
  Trap(session.reporter, [&] {
    std::optional<std::string> value = session.platform.ReadSetting(root, key_path, name);
    if (value) text = FromAnsi(value->substr(0, value->find('\0')));
  });
  return text;
}

bool SaveString(Session& session, SettingsRoot root, const std::string& key_path,
                const std::string& name, const std::string& data) {
  return Trap(session.reporter, [&] {
    // Not in the middle of another copy's command, and never waiting for it
    // unsaid or for ever.
    const std::unique_ptr<DataLock> lock = LockDataSaid(session);
    session.platform.WriteSetting(root, key_path, name, ToAnsi(data));
  });
}

}  // namespace veilbox
