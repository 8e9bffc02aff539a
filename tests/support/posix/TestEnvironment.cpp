#include <stdlib.h>

#include <stdexcept>

#include "support/TestEnvironment.h"

namespace veilbox::testing {
namespace fs = std::filesystem;

void SetEnvironment(const std::string& name, const std::optional<std::string>& value) {
  value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
}

fs::path MakeTemporaryFolder() {
  std::string pattern = (fs::temp_directory_path() / "veilbox-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  return pattern;
}

PrivateSettings::PrivateSettings() = default;
PrivateSettings::~PrivateSettings() = default;

}  // namespace veilbox::testing
