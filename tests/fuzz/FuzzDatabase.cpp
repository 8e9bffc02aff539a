// Any bytes as Dat.sys: loading must never crash, and what loads must save
// and load again to the same text.
#include <cstddef>
#include <cstdint>
#include <fstream>

#include "FuzzSupport.h"
#include "app/AppState.h"
#include "app/FolderData.h"

using namespace veilbox;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static auto platform = CreatePlatform();
  static fuzz::AcceptingDialogue dialogue;
  AppState state(*platform, dialogue);
  state.SrcDataFilename = (fuzz::WorkFolder() / "Dat.sys").string();
  {
    std::ofstream out(state.SrcDataFilename, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  if (!LoadDataFile(state)) return 0;
  const std::string loaded = state.HiddenFolderData;
  ParseRecords(loaded);
  if (!SaveFolders(state)) std::abort();
  state.HiddenFolderData.clear();
  LoadDataFile(state);
  if (state.HiddenFolderData != loaded) std::abort();
  return 0;
}
