#include "app/StartPlaces.h"

#include "app/Constants.h"
#include "diag/Failure.h"
#include "store/TextUtil.h"

namespace veilbox {

std::optional<std::string> StartPlaceProblem(Platform& platform) {
  try {
    // Any value will do: reading one reads the whole settings.
    platform.ReadSetting(SettingsRoot::CurrentUser, kMainKey,
                         std::string(kAppname) + kFirstTimeSuffix);
    const std::string folder = platform.ProgramFolder();
    const std::string data = JoinPath(folder, kDataFileName, platform.Separator());
    for (const std::string& path : {folder, data, data + kJournalSuffix, data + kUnlockMarkerSuffix,
                                    JoinPath(folder, kDataLockFileName, platform.Separator())}) {
      if (auto problem = platform.NotPrivate(path)) {
        return "Veilbox does not use " + path + ": it " + *problem +
               ". Only a folder and files of your own, which no other user can change, may "
               "hold Veilbox's list.";
      }
    }
  } catch (const Failure& f) {
    return f.Description() + ". Veilbox cannot start until it can.";
  }
  return std::nullopt;
}

}  // namespace veilbox
