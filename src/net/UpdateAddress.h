// Where start-up finds the version document.
#pragma once

#include <string>

namespace veilbox {

// The environment variable VEILBOX_UPDATE_URL when it is set, even to empty
// text; otherwise the address chosen when the program was built. An empty
// address turns the version check off.
std::string UpdateAddress();

}  // namespace veilbox
