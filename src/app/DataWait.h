// The wait for another copy's data lock as the user meets it: told once
// that another copy is busy, the windows painting meanwhile, and given up
// after state.DataLockLimit with a failure.
#pragma once

#include <memory>

#include "app/AppState.h"

namespace veilbox {

std::unique_ptr<DataLock> LockDataSaid(AppState& state, Where where = Where::current());

}  // namespace veilbox
