// A run-time failure: error number, description and the source line it was
// raised at. The line becomes the failure's step number when it is reported.
#pragma once

#include <source_location>
#include <stdexcept>
#include <string>

namespace veilbox {

// Error numbers, numbered as the classic BASIC run-time errors (53 file not
// found, 70 permission denied, ...), which the error reporter shows.
namespace err {
constexpr long kIllegalKeyBits = 1;
constexpr long kInvalidArgument = 5;
constexpr long kSubscriptOutOfRange = 9;
constexpr long kFileNotFound = 53;
constexpr long kDeviceIo = 57;
constexpr long kFileExists = 58;
constexpr long kDiskFull = 61;
constexpr long kPastEndOfFile = 62;
constexpr long kPermissionDenied = 70;
constexpr long kPathFileAccess = 75;
constexpr long kPathNotFound = 76;
}  // namespace err

class Failure : public std::runtime_error {
 public:
  Failure(long number, std::string description,
          std::source_location where = std::source_location::current());

  long Number() const { return number_; }
  const std::string& Description() const { return description_; }
  const std::source_location& Where() const { return where_; }

 private:
  long number_;
  std::string description_;
  std::source_location where_;
};

[[noreturn]] void Raise(long number, std::string description,
                        std::source_location where = std::source_location::current());

// Error number and description for an errno value from a failed system call.
long ErrorNumberFromErrno(int error_code);
[[noreturn]] void RaiseErrno(int error_code, const std::string& what,
                             std::source_location where = std::source_location::current());

}  // namespace veilbox
