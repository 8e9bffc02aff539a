#include "diag/Failure.h"

#include <cerrno>
#include <cstring>

namespace veilbox {

Failure::Failure(long number, std::string description, std::source_location where)
    : std::runtime_error(description),
      number_(number),
      description_(std::move(description)),
      where_(where) {}

void Raise(long number, std::string description, std::source_location where) {
  throw Failure(number, std::move(description), where);
}

long ErrorNumberFromErrno(int error_code) {
  switch (error_code) {
    case ENOENT:
      return err::kFileNotFound;
    case ENOTDIR:
      return err::kPathNotFound;
    case EEXIST:
    case ENOTEMPTY:
      return err::kFileExists;
    case ENOSPC:
#ifdef EDQUOT  // not among the C library's errno values on Windows
    case EDQUOT:
#endif
      return err::kDiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
      return err::kPermissionDenied;
    case EIO:
      return err::kDeviceIo;
    default:
      return err::kPathFileAccess;
  }
}

void RaiseErrno(int error_code, const std::string& what, std::source_location where) {
  Raise(ErrorNumberFromErrno(error_code), what + ": " + std::strerror(error_code), where);
}

}  // namespace veilbox
