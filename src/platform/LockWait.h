// The wait for another copy's data lock, the same on every platform: look
// again and again, say once that the wait grows long, let the windows paint
// meanwhile, and give up after the limit.
#pragma once

#include <functional>

#include "platform/Platform.h"

namespace veilbox {

// Calls try_lock until it returns true; raises when wait.limit passes first.
// try_lock raises itself on any failure other than "held by another copy".
void WaitForDataLock(const std::function<bool()>& try_lock, const DataLockWait& wait, Where where);

}  // namespace veilbox
