// Keeps a name on one line of output. Where names may hold any byte but "/"
// (Linux), they are written LineEscaped. Where the backslash separates
// folders (Windows), names cannot hold a tab or a line break and are written
// as they are.
#pragma once

#include <string>

#include "store/TextUtil.h"

namespace veilbox::cli {

inline std::string OneLine(const std::string& name, char separator) {
  return separator == '\\' ? name : LineEscaped(name);
}

}  // namespace veilbox::cli
