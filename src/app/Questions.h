// Every question Veilbox asks the user is one value of a closed set: its
// kind and what it is about. The desktop shows each as it always has
// (WordingOf: the text, title, icon and buttons); the command line answers
// each by its kind from its flags. No front end recognises a question by
// its words.
#pragma once

#include <string>
#include <variant>

#include "diag/UserNotices.h"

namespace veilbox {

enum class Buttons { OK, OKCancel, YesNo, YesNoCancel };
enum class Answer { OK, Cancel, Yes, No };

namespace ask {

// The first start: does the user accept the terms of use?
struct Agreement {};
// A newer version is offered at address: go there now?
struct NewerVersion {
  std::string address;
};
// A folder's drive has no store folder: set one up on drive? (for_add: the
// question as adding a folder asks it, else as hiding one does)
struct SetUpStore {
  std::string drive;
  bool for_add = false;
};
// The folder chosen as a store folder is not on drive: choose again?
struct ChooseStoreAgain {
  std::string drive;
};
// A hidden folder's own place cannot take it: restore name to another
// folder? place_gone says the place is missing; otherwise unusable says why
// it cannot be used.
struct RestoreElsewhere {
  std::string name;
  std::string place;
  bool place_gone = true;
  std::string unusable;
};
// The folder chosen to restore into cannot take it: not on drive, or
// unusable says why. Choose again?
struct ChooseRestoreAgain {
  std::string drive;
  std::string unusable;  // empty: the folder is not on drive
};
// A folder named name already stands where a folder is restored: restore
// beside it?
struct RestoreBeside {
  std::string name;
};
// Take the store folder at path off the list?
struct RemoveStoreFolder {
  std::string path;
};
// A failure at step: show it again next time it happens?
struct PauseOnError {
  long number = 0;
  std::string description;
  long step = 0;
  std::string code;  // the step's text
};
// Create mode: make typed the password?
struct ConfirmPassword {
  std::string typed;
};
// The main window closes while the store folders are unlocked: lock them?
struct LockOnClose {};

}  // namespace ask

using Question =
    std::variant<ask::Agreement, ask::NewerVersion, ask::SetUpStore, ask::ChooseStoreAgain,
                 ask::RestoreElsewhere, ask::ChooseRestoreAgain, ask::RestoreBeside,
                 ask::RemoveStoreFolder, ask::PauseOnError, ask::ConfirmPassword, ask::LockOnClose>;

// How a message box shows a question or a notice.
struct Wording {
  std::string text;
  std::string title;
  Icon icon = Icon::Information;
  Buttons buttons = Buttons::OK;
  bool operator==(const Wording&) const = default;
};

Wording WordingOf(const Question& question);

// What a folder chooser is for, which gives its title.
enum class FolderChoice {
  Folder,        // a folder to add, or a store folder in the preferences
  StoreFolder,   // the store folder the set-up question asked for
  RestorePlace,  // the folder to restore a hidden folder into
};

std::string TitleOf(FolderChoice choice);

}  // namespace veilbox
