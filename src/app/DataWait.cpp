#include "app/DataWait.h"

#include "app/Constants.h"

namespace veilbox {

std::unique_ptr<DataLock> LockDataSaid(Session& session, Where where) {
  const auto seconds =
      std::chrono::duration_cast<std::chrono::seconds>(session.data_lock_limit).count();
  const DataLockWait wait{
      .still_waiting =
          [&session, seconds] {
            session.dialogue.Tell(
                "Another copy of Veilbox is changing the folder list. This one goes on as soon as "
                "it has finished, or gives up after " +
                    std::to_string(seconds) + " seconds.",
                kAppname);
          },
      .meanwhile = [&session] { session.dialogue.PumpEvents(); },
      .limit = session.data_lock_limit,
  };
  return session.platform.LockData(wait, where);
}

}  // namespace veilbox
