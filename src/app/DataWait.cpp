#include "app/DataWait.h"

namespace veilbox {

std::unique_ptr<DataLock> LockDataSaid(AppState& state, Where where) {
  const auto seconds =
      std::chrono::duration_cast<std::chrono::seconds>(state.DataLockLimit).count();
  const DataLockWait wait{
      .still_waiting =
          [&state, seconds] {
            state.dialogue.Tell(
                "Another copy of Veilbox is changing the folder list. This one goes on as soon as "
                "it has finished, or gives up after " +
                    std::to_string(seconds) + " seconds.",
                state.Appname);
          },
      .meanwhile = [&state] { state.dialogue.PumpEvents(); },
      .limit = state.DataLockLimit,
  };
  return state.platform.LockData(wait, where);
}

}  // namespace veilbox
