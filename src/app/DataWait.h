// The wait for another copy's data lock as the user meets it: told once
// that another copy is busy, the windows painting meanwhile, and given up
// after session.data_lock_limit with a failure.
#pragma once

#include <memory>

#include "app/Session.h"

namespace veilbox {

std::unique_ptr<DataLock> LockDataSaid(Session& session, Where where = Where::current());

}  // namespace veilbox
