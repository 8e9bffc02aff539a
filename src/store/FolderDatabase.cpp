#include "store/FolderDatabase.h"

#include <algorithm>

#include "platform/Codec.h"
#include "store/TextUtil.h"

namespace veilbox {

void SaveData(Platform& platform, const std::string& text, const std::string& path, Where where) {
  platform.WriteFileAtomic(path, ToAnsi(text), where);
}

std::string LoadTextFile(Platform& platform, const std::string& path, Where where) {
  std::string bytes = platform.ReadFile(path, where);
  std::replace(bytes.begin(), bytes.end(), '\0', ' ');
  return FromAnsi(bytes);
}

}  // namespace veilbox
