// Any bytes as Dat.sys: loading must never crash, and what loads must save
// and load again to the same text.
#include <cstddef>
#include <cstdint>
#include <fstream>

#include "FuzzSupport.h"
#include "app/FolderData.h"
#include "app/Session.h"

using namespace veilbox;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static auto platform = CreatePlatform();
  static fuzz::AcceptingDialogue dialogue;
  Session session(*platform, dialogue);
  session.data_file = (fuzz::WorkFolder() / "Dat.sys").string();
  {
    std::ofstream out(session.data_file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  if (!LoadDataFile(session)) return 0;
  const std::string loaded = session.folders;
  ParseRecords(loaded);
  if (!SaveFolders(session)) std::abort();
  session.folders.clear();
  LoadDataFile(session);
  if (session.folders != loaded) std::abort();
  return 0;
}
