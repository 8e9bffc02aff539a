#include "platform/posix/SettingsFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "diag/Failure.h"
#include "platform/posix/PosixFiles.h"

namespace veilbox::posix {
namespace fs = std::filesystem;
using nlohmann::json;

namespace {

enum class FileState { Missing, Good, Damaged };

// A good settings file is an object whose members are objects. A file
// that is there but cannot be read raises: it is neither missing nor
// damaged, and nothing may be written in its place.
FileState Load(const std::string& file, json& settings, Where where) {
  struct stat st;
  if (::lstat(file.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return FileState::Missing;
    RaiseErrno(errno, "Cannot read " + file, where);
  }
  const std::string text = ReadWholeFile(file, where);
  settings = json::parse(text, nullptr, false);
  if (settings.is_discarded() || !settings.is_object()) return FileState::Damaged;
  for (const auto& [key, values] : settings.items()) {
    if (!values.is_object()) return FileState::Damaged;
  }
  return FileState::Good;
}

std::string TimeStamp() {
  std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

void KeepAside(const std::string& file, Where where) {
  std::string aside = file + ".bad-" + TimeStamp();
  for (int n = 1; fs::exists(fs::symlink_status(aside)); ++n) {
    aside = file + ".bad-" + TimeStamp() + "-" + std::to_string(n);
  }
  if (std::rename(file.c_str(), aside.c_str()) != 0) {
    RaiseErrno(errno, "Cannot keep the damaged settings file aside", where);
  }
  ::chmod(aside.c_str(), 0600);  // it may hold the password's hash
}

}  // namespace

std::optional<std::string> ReadSettingValue(const std::string& file, const std::string& key_path,
                                            const std::string& name) {
  json settings;
  if (Load(file, settings, Where::current()) != FileState::Good) return std::nullopt;
  auto key = settings.find(key_path);
  if (key == settings.end()) return std::nullopt;
  auto value = key->find(name);
  if (value == key->end() || !value->is_string()) return std::nullopt;
  return value->get<std::string>();
}

void WriteSettingValue(const std::string& file, const std::string& key_path,
                       const std::string& name, const std::string& data, Where where) {
  MakeFolders(fs::path(file).parent_path().string(), 0700, where);
  json settings = json::object();
  if (Load(file, settings, where) == FileState::Damaged) {
    KeepAside(file, where);
    settings = json::object();
  }
  settings[key_path][name] = data;
  std::string text;
  try {
    text = settings.dump(2);
  } catch (const json::exception&) {
    Raise(err::kInvalidArgument, "The setting " + name + " is not valid text", where);
  }
  WriteAtomically(file, text + "\n", where);
}

}  // namespace veilbox::posix
