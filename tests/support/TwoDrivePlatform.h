// The real platform with two drives: folders below a given folder count as
// drive "/B/", all others as drive "/A/", so tests can hide across drives on
// one file system.
#pragma once

#include <filesystem>
#include <string>

#include "NativePlatform.h"

namespace veilbox::testing {

class TwoDrivePlatform : public NativePlatform {
 public:
  explicit TwoDrivePlatform(std::filesystem::path second) : second_(std::move(second)) {}
  std::string DriveKey(const std::string& path) override {
    return path.starts_with(second_.string()) ? "/B/" : "/A/";
  }
  size_t MaxPathLength() const override { return max_path; }

  size_t max_path = NativePlatform::MaxPathLength();

 private:
  std::filesystem::path second_;
};

}  // namespace veilbox::testing
