#include "crypto/BinaryFile.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "diag/Failure.h"
#include "platform/FileOpen.h"
#include "platform/Utf8Path.h"

namespace veilbox {
namespace {

// errno after a failed C library call, or a general I/O error when the call
// did not set it.
int LastError() {
  return errno != 0 ? errno : EIO;
}

}  // namespace

BinaryFile::BinaryFile(std::unique_ptr<std::FILE, Closer> file, std::string name)
    : file_(std::move(file)), name_(std::move(name)) {}

BinaryFile BinaryFile::OpenForReading(const std::string& name) {
  errno = 0;
  std::unique_ptr<std::FILE, Closer> f(OpenFile(name, "rb"));
  if (!f) RaiseErrno(LastError(), name);
  return BinaryFile(std::move(f), name);
}

BinaryFile BinaryFile::OpenForWriting(const std::string& name) {
  errno = 0;
  std::unique_ptr<std::FILE, Closer> f(OpenFile(name, "wb"));
  if (!f) RaiseErrno(LastError(), name);
  return BinaryFile(std::move(f), name);
}

std::size_t BinaryFile::Read(std::uint8_t* data, std::size_t size) {
  errno = 0;
  const std::size_t got = std::fread(data, 1, size, file_.get());
  if (got < size && std::ferror(file_.get())) RaiseErrno(LastError(), name_);
  return got;
}

void BinaryFile::ReadAll(std::uint8_t* data, std::size_t size) {
  if (Read(data, size) < size) Raise(err::kPastEndOfFile, "Input past end of file: " + name_);
}

void BinaryFile::Write(const std::uint8_t* data, std::size_t size) {
  errno = 0;
  if (std::fwrite(data, 1, size, file_.get()) < size) RaiseErrno(LastError(), name_);
}

void BinaryFile::Close() {
  if (!file_) return;
  errno = 0;
  const int result = std::fclose(file_.release());
  if (result != 0) RaiseErrno(LastError(), name_);
}

std::uintmax_t FileLength(const std::string& name) {
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(PathFromUtf8(name), ec);
  if (ec) {
    const bool missing = ec == std::errc::no_such_file_or_directory;
    Raise(missing ? err::kFileNotFound : err::kPathFileAccess, name + ": " + ec.message());
  }
  return size;
}

}  // namespace veilbox
