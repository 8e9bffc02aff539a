#include "support/TempHome.h"

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/Environment.h"

namespace veilbox::testing {
namespace fs = std::filesystem;

TempHome::TempHome() {
  root_ = MakeTemporaryFolder();
  SetEnv("VEILBOX_HOME", ProgramFolder().string());
  SetEnv("XDG_CONFIG_HOME", (root_ / "config").string());
  SetEnv("XDG_DATA_HOME", (root_ / "data").string());
  SetEnv("HOME", (root_ / "home").string());
  // No test reaches the project's update host; tests of the version check
  // point this at a server of their own.
  SetEnv("VEILBOX_UPDATE_URL", "");
}

TempHome::~TempHome() {
  for (const auto& [name, value] : saved_env_) SetEnvironment(name, value);
  // Locked store folders have no permission bits; open them up to delete.
  std::error_code ec;
  std::vector<fs::path> entries{root_};
  for (auto it = fs::recursive_directory_iterator(root_, ec); !ec && it != fs::end(it);
       it.increment(ec)) {
    if (it->is_directory(ec) && !it->is_symlink(ec)) {
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    entries.push_back(it->path());
  }
  fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ec);
  // Deepest first, each entry given a few seconds: on Windows a child
  // program that has just ended may hold its files a moment longer. (The
  // standard library's remove_all spins for ever on such a file there.)
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!fs::remove(*it, ec) && ec && std::chrono::steady_clock::now() < give_up) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
}

fs::path TempHome::MakeFolder(const std::string& relative) const {
  fs::path p = root_ / relative;
  fs::create_directories(p);
  return p;
}

void TempHome::SetEnv(const std::string& name, const std::string& value) {
  if (!saved_env_.count(name)) saved_env_[name] = EnvironmentValue(name);
  SetEnvironment(name, value);
}

void WriteText(const fs::path& path, const std::string& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace veilbox::testing
