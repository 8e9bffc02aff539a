// The collision search: a name that no entry of a folder has yet.
#pragma once

#include <string>

#include "app/Session.h"
#include "platform/Platform.h"

namespace veilbox {

struct FreeName {
  std::string name;
  bool changed = false;  // name had to grow by "(1)" suffixes
};

// name itself when no entry of folder has it, compared without regard to
// letter case; otherwise name followed by "(1)" as often as needed.
FreeName FindFreeName(OpenFolder& folder, const std::string& name, Where where = Where::current());

// The same among the names a store folder's memo knows to be taken.
FreeName FindFreeName(const StoreMemo& store, const std::string& name);

// The form of a name in which it is compared without regard to case.
std::string FoldedName(std::string name);

}  // namespace veilbox
