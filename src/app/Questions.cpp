#include "app/Questions.h"

namespace veilbox {
namespace {

// The texts of the questions, exactly as the user has always seen them.
constexpr const char* kAgreementText =
    "Use this application at your own risk. Tollmark Inc is not responsible for any loss of "
    "data or any data corruption. Do you agree to this?";
constexpr const char* kHideStoreText =
    "The folder you want to hide has no hidden/locked folder setup on its drive. Do you wish to "
    "create a hidden/locked folder on ";
constexpr const char* kAddStoreText =
    "The folder you want to hide has no hidden/locked folder setup on its drive. Do you wish to "
    "create/select a hidden/locked folder on ";

std::string NotOnDrive(const std::string& drive) {
  return "This folder is not on " + drive + ". Do you wish to choose again?";
}

Wording Asked(std::string text, std::string title, Icon icon = Icon::Question) {
  return {std::move(text), std::move(title), icon, Buttons::YesNoCancel};
}

struct Words {
  Wording operator()(const ask::Agreement&) const { return Asked(kAgreementText, "Agreement"); }
  Wording operator()(const ask::NewerVersion& q) const {
    return Asked("New version is available at: " + q.address + ". Do you wish to go there now?",
                 "New Version", Icon::Information);
  }
  Wording operator()(const ask::SetUpStore& q) const {
    return Asked((q.for_add ? kAddStoreText : kHideStoreText) + q.drive + "?", "New folder");
  }
  Wording operator()(const ask::ChooseStoreAgain& q) const {
    return Asked(NotOnDrive(q.drive), "Folder");
  }
  Wording operator()(const ask::RestoreElsewhere& q) const {
    const std::string why = q.place_gone ? q.place + " does not exist (or is hidden)" : q.unusable;
    return Asked(why + ". Do you wish to restore " + q.name + " to another folder?", "Restore",
                 Icon::Information);
  }
  Wording operator()(const ask::ChooseRestoreAgain& q) const {
    return Asked(
        q.unusable.empty() ? NotOnDrive(q.drive) : q.unusable + ". Do you wish to choose again?",
        "Folder");
  }
  Wording operator()(const ask::RestoreBeside& q) const {
    return Asked(
        q.name + " already exists in this folder. Do you wish to restore to this folder anyway?",
        "Exists");
  }
  Wording operator()(const ask::RemoveStoreFolder& q) const {
    return Asked("Are you sure you wish to remove " + q.path + " from the list?", "Remove");
  }
  Wording operator()(const ask::PauseOnError& q) const {
    const std::string crlf = "\r\n";
    return Asked("Error Number: " + std::to_string(q.number) + "." + crlf +
                     "Error Description: " + q.description + "." + crlf +
                     "Error Line: " + std::to_string(q.step) + "." + crlf +
                     "Error Code: " + q.code + crlf + "Do you wish to pause on this error again?",
                 "Error");
  }
  Wording operator()(const ask::ConfirmPassword& q) const {
    return Asked("You have entered " + q.typed +
                     " as a password. Do you wish to have this as your password?",
                 "Password");
  }
  Wording operator()(const ask::LockOnClose&) const {
    return Asked("Do you wish to lock the folder?", "Lock");
  }
};

}  // namespace

Wording WordingOf(const Question& question) {
  return std::visit(Words{}, question);
}

std::string TitleOf(FolderChoice choice) {
  switch (choice) {
    case FolderChoice::StoreFolder:
      return "Select or create a folder to hide/lock data";
    case FolderChoice::RestorePlace:
      return "Select or create a folder to restore to";
    case FolderChoice::Folder:
      break;
  }
  return "Select Folder...";
}

}  // namespace veilbox
