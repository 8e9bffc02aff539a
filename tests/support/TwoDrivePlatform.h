// The real platform with a second drive: folders below second_drive count as
// drive "/B/", all others as drive "/A/", so tests can hide across drives on
// one file system (with second_drive empty, the machine's own drives). The
// longest path, the settings writes and renames by path can be made to fail.
#pragma once

#include <filesystem>
#include <string>

#include "NativePlatform.h"
#include "diag/Failure.h"

namespace veilbox::testing {

class TwoDrivePlatform : public NativePlatform {
 public:
  explicit TwoDrivePlatform(std::filesystem::path second) : second_drive(std::move(second)) {}
  std::string DriveKey(const std::string& path) override {
    if (second_drive.empty()) return NativePlatform::DriveKey(path);
    return path.starts_with(second_drive.string()) ? "/B/" : "/A/";
  }
  size_t MaxPathLength() const override { return max_path; }
  void WriteSetting(SettingsRoot root, const std::string& key_path, const std::string& name,
                    const std::string& data, Where where = Where::current()) override {
    if (refuse_setting_writes) Raise(err::kPermissionDenied, "Permission denied", where);
    NativePlatform::WriteSetting(root, key_path, name, data, where);
  }

  MoveResult Rename(const std::string& from, const std::string& to) override {
    if (refuse_renames) return {false, "Permission denied"};
    return NativePlatform::Rename(from, to);
  }

  std::filesystem::path second_drive;
  size_t max_path = NativePlatform::MaxPathLength();
  bool refuse_setting_writes = false;
  bool refuse_renames = false;
};

}  // namespace veilbox::testing
