// The engine's texts, shown exactly as written here.
#pragma once

#include <string>

#include "app/LeftAlone.h"

namespace veilbox::msg {

inline std::string NotInStore(const std::string& name) {
  return name + " does not exist in the hidden database and therefore cannot be restored.";
}
inline std::string StoreUnreachable(const std::string& store, const std::string& reason) {
  return "The hidden/locked folder " + store + " cannot be reached (" + reason +
         "). Nothing was changed.";
}
inline std::string StoreAway(const std::string& name, const std::string& store) {
  return name + " is not in its drive's hidden/locked folder, and " + store +
         " is not available now (is its drive away?). " + name +
         " stays in the list; try again when the drive is back.";
}
// A move or rename that did not happen.
inline std::string MoveFailed(const std::string& source, const std::string& reason) {
  return "Following error occurd while copying folder " + source + "\r\n" + reason;
}
constexpr const char* kMoveFailedTitle = "Error message";

// A folder holding a mount point: a move would carry the other drive along,
// and a walk through it would rename files on it.
inline std::string HoldsMount(const std::string& folder, const std::string& mount) {
  return folder + " holds " + mount +
         ", where another drive is mounted. Unmount it, then try again.";
}

}  // namespace veilbox::msg
