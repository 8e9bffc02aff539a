// Start-up: the places Veilbox works from are checked, what start-up fixes
// is read from the constants and the settings, the version check runs, and
// a first run asks the agreement.
#include "app/Constants.h"
#include "app/Session.h"
#include "app/Settings.h"
#include "app/StartPlaces.h"
#include "app/VersionCheck.h"
#include "net/UpdateAddress.h"
#include "store/TextUtil.h"

namespace veilbox {
namespace {

std::string FirstTimeValue() {
  return std::string(kAppname) + kFirstTimeSuffix;
}

}  // namespace

bool Session::PlacesTrusted() {
  const std::optional<std::string> problem = StartPlaceProblem(platform);
  if (problem) dialogue.Tell(*problem, kAppname, Icon::Critical);
  return !problem;
}

bool Session::AgreementAccepted() {
  return !GetString(*this, SettingsRoot::CurrentUser, kMainKey, FirstTimeValue()).empty();
}

StartUpResult Session::Start(VersionCheck version_check) {
  if (!PlacesTrusted()) return StartUpResult::Refused;
  StartUpResult result = StartUpResult::Continue;
  Trap(reporter, [&] {
    const std::string program_folder = platform.ProgramFolder();
    data_file = JoinPath(program_folder, kDataFileName);
    key_text = std::string(kAppname) + kKeyText;
    update_url = UpdateAddress();

    const std::string store_value = std::string(kAppname) + kHideFolderPathSuffix;
    std::string list = GetString(*this, SettingsRoot::CurrentUser, kMainKey, store_value);
    if (list.empty()) {
      list = JoinPath(program_folder, kDefaultStoreFolderName) + "*";
      SaveString(*this, SettingsRoot::CurrentUser, kMainKey, store_value, list);
    }
    stores = StoreList::Parse(list);

    if (version_check == VersionCheck::Run && RunVersionCheck(*this)) {
      result = StartUpResult::EndProgram;
      return;
    }
    if (!AgreementAccepted()) {
      if (dialogue.Ask(ask::Agreement{}) != Answer::Yes) {
        result = StartUpResult::EndProgram;
        return;
      }
      SaveString(*this, SettingsRoot::CurrentUser, kMainKey, FirstTimeValue(), "No");
    }
  });
  return result;
}

}  // namespace veilbox
