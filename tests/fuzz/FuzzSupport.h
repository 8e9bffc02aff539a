// What the fuzz targets share: a dialogue that accepts everything, and a
// private folder for the files a target writes.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/Dialogue.h"

namespace veilbox::fuzz {

class AcceptingDialogue : public Dialogue {
 public:
  Answer Show(const Wording& box) override {
    return box.buttons == Buttons::OK ? Answer::OK : Answer::Yes;
  }
  std::string ChooseFolder(FolderChoice, const std::string&) override { return ""; }
  void ShowProgress(long, long) override {}
  void OpenAddress(const std::string&) override {}
};

// A folder of the fuzzer's own, made once per process and removed at its
// end; in memory where the machine has /dev/shm, since every save is
// flushed to disk.
inline const std::filesystem::path& WorkFolder() {
  // Never destroyed, so that the removal at exit can still use it.
  static const std::filesystem::path* folder = [] {
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    std::string pattern = (base / "veilbox-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(WorkFolder(), ignored);
    });
    return new std::filesystem::path(pattern);
  }();
  return *folder;
}

}  // namespace veilbox::fuzz
