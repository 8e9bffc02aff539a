// A private temporary folder for one test, with the program folder and the
// settings pointed into it, so no test touches the machine's real ones.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "support/TestEnvironment.h"

namespace veilbox::testing {

class TempHome {
 public:
  TempHome();
  ~TempHome();
  TempHome(const TempHome&) = delete;
  TempHome& operator=(const TempHome&) = delete;

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path ProgramFolder() const { return root_ / "program"; }
  std::filesystem::path SettingsFile() const {
    return root_ / "config" / "veilbox" / "settings.json";
  }
  // A fresh folder below the root, for the test's own folders.
  std::filesystem::path MakeFolder(const std::string& relative) const;

 private:
  void SetEnv(const std::string& name, const std::string& value);

  std::filesystem::path root_;
  std::map<std::string, std::optional<std::string>> saved_env_;
  PrivateSettings settings_;
};

void WriteText(const std::filesystem::path& path, const std::string& bytes);
std::string ReadText(const std::filesystem::path& path);

}  // namespace veilbox::testing
