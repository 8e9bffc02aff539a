// The places Veilbox starts from must be the user's own: the program folder
// and the files it keeps there decide which folders are moved where, and
// the settings hold the store-folder list and the password.
#pragma once

#include <optional>
#include <string>

#include "platform/Platform.h"

namespace veilbox {

// Why Veilbox must not start, as a sentence naming the place and the reason,
// or nullopt: the program folder, Dat.sys, its journal, its unlock marker or
// the data lock's file is a link, another user's, or can be changed by other
// users; or the settings are there but cannot be read.
std::optional<std::string> StartPlaceProblem(Platform& platform);

}  // namespace veilbox
