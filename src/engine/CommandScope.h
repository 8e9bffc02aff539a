// A command's hold on the program's data: while it lives, no other copy of
// Veilbox changes Dat.sys or the settings, and the command starts from what
// they hold now, not from what this copy read earlier.
#pragma once

#include <memory>

#include "app/Session.h"

namespace veilbox {

class CommandScope {
 public:
  // Waits for other copies (telling the user when the wait grows long, and
  // raising when it passes data_lock_limit), then re-reads the folder list
  // and the store-folder list.
  explicit CommandScope(Session& session);
  // Whether the folder list could be read (a failure was reported).
  bool ListRead() const { return list_read_; }

 private:
  std::unique_ptr<DataLock> lock_;
  bool list_read_ = false;
};

}  // namespace veilbox
