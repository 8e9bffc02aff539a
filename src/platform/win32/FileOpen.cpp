#include "platform/FileOpen.h"

#include "platform/win32/WideText.h"

namespace veilbox {

std::FILE* OpenFile(const std::string& name, const char* mode) {
  return _wfopen(win32::Widen(name).c_str(), win32::Widen(mode).c_str());
}

}  // namespace veilbox
