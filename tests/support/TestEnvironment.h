// What a test needs from the machine, the platform's own way: environment
// variables that child processes inherit, a new temporary folder, and
// settings of its own. posix/ and win32/ hold the two implementations.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace veilbox::testing {

// Sets a variable, or removes it given nullopt.
void SetEnvironment(const std::string& name, const std::optional<std::string>& value);

// A new, empty folder below the system's temporary folder.
std::filesystem::path MakeTemporaryFolder();

// Keeps the settings of one test apart from the machine's while it lives.
// On Linux the settings file lies in the test's own home already; on
// Windows the settings move to a registry key of their own, which is
// deleted with everything in it at the end.
class PrivateSettings {
 public:
  PrivateSettings();
  ~PrivateSettings();
  PrivateSettings(const PrivateSettings&) = delete;
  PrivateSettings& operator=(const PrivateSettings&) = delete;

 private:
  std::string key_;
};

}  // namespace veilbox::testing
