#include "app/SysInfo.h"

#include <filesystem>
#include <sstream>
#include <vector>

namespace veilbox {
namespace {

constexpr std::filesystem::perms kExecutable = std::filesystem::perms::owner_exec |
                                               std::filesystem::perms::group_exec |
                                               std::filesystem::perms::others_exec;

}  // namespace

std::optional<std::string> FindSystemInfoProgram(const std::string& path_list) {
  std::vector<std::string> folders;
  std::istringstream entries(path_list);
  for (std::string folder; std::getline(entries, folder, ':');) {
    if (!folder.empty()) folders.push_back(folder);
  }
  for (const char* program : {"hardinfo", "kinfocenter", "gnome-system-monitor"}) {
    for (const std::string& folder : folders) {
      const std::filesystem::path candidate = std::filesystem::path(folder) / program;
      std::error_code ec;
      const std::filesystem::file_status status = std::filesystem::status(candidate, ec);
      if (!ec && std::filesystem::is_regular_file(status) &&
          (status.permissions() & kExecutable) != std::filesystem::perms::none) {
        return candidate.string();
      }
    }
  }
  return std::nullopt;
}

}  // namespace veilbox
