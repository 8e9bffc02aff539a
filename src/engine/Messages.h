// The engine's texts, shown exactly as written here.
#pragma once

#include <cstddef>
#include <string>

namespace veilbox::msg {

constexpr const char* kHideStoreQuestion =
    "The folder you want to hide has no hidden/locked folder setup on its drive. Do you wish to "
    "create a hidden/locked folder on ";
constexpr const char* kAddStoreQuestion =
    "The folder you want to hide has no hidden/locked folder setup on its drive. Do you wish to "
    "create/select a hidden/locked folder on ";
constexpr const char* kChooseStoreTitle = "Select or create a folder to hide/lock data";
constexpr const char* kChooseRestoreTitle = "Select or create a folder to restore to";
constexpr const char* kDefaultChooserTitle = "Select Folder...";

inline std::string NotOnDrive(const std::string& drive) {
  return "This folder is not on " + drive + ". Do you wish to choose again?";
}
inline std::string NotInStore(const std::string& name) {
  return name + " does not exist in the hidden database and therefore cannot be restored.";
}
inline std::string PlaceGone(const std::string& place, const std::string& name) {
  return place + " does not exist (or is hidden). Do you wish to restore " + name +
         " to another folder?";
}
// The place is there but cannot be used: a link, or not reachable.
inline std::string PlaceUnusable(const std::string& reason, const std::string& name) {
  return reason + ". Do you wish to restore " + name + " to another folder?";
}
inline std::string ChosenPlaceUnusable(const std::string& reason) {
  return reason + ". Do you wish to choose again?";
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
inline std::string AlreadyThere(const std::string& name) {
  return name + " already exists in this folder. Do you wish to restore to this folder anyway?";
}
// A move or rename that did not happen.
inline std::string MoveFailed(const std::string& source, const std::string& reason) {
  return "Following error occurd while copying folder " + source + "\r\n" + reason;
}
constexpr const char* kMoveFailedTitle = "Error message";

// A record or a journal entry read back that names no folder Veilbox may
// reach: it is kept as it is and never acted on.
inline std::string LeftAlone(const std::string& what, const std::string& problem) {
  return what + " was left as it is: " + problem + ".";
}
inline std::string RowOf(const std::string& file, size_t row) {
  return "Row " + std::to_string(row) + " of " + file;
}
constexpr const char* kLeftAloneTitle = "Folder list";

// A folder holding a mount point: a move would carry the other drive along,
// and a walk through it would rename files on it.
inline std::string HoldsMount(const std::string& folder, const std::string& mount) {
  return folder + " holds " + mount +
         ", where another drive is mounted. Unmount it, then try again.";
}

}  // namespace veilbox::msg
