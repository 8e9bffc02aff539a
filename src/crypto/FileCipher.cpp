// cEncrypt's file layer: a file becomes a cipher file of whole blocks whose
// last byte holds the plaintext length mod 16, and back. Files are worked
// through in chunks of kMaxFileChunkSize bytes, encrypted in place.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <system_error>

#include "crypto/BinaryFile.h"
#include "crypto/cEncrypt.h"
#include "diag/Failure.h"
#include "platform/Utf8Path.h"

namespace veilbox {
namespace {

namespace fs = std::filesystem;

// The output file is emptied before the input is read, so one file named
// twice would be lost.
void RefuseSameFile(const std::string& input, const std::string& output) {
  std::error_code ec;  // a missing file is no danger: reading it fails first
  if (fs::equivalent(PathFromUtf8(input), PathFromUtf8(output), ec)) {
    Raise(err::kPathFileAccess, "Source and destination are the same file: " + input);
  }
}

// Runs every chunk before the last through transform, from in to out, and
// returns how many bytes are left for the last chunk.
template <class Transform>
std::uintmax_t LeadingChunks(BinaryFile& in, BinaryFile& out, std::vector<std::uint8_t>& chunk,
                             std::uintmax_t size, Transform transform) {
  for (; size > cEncrypt::kMaxFileChunkSize; size -= cEncrypt::kMaxFileChunkSize) {
    in.ReadAll(chunk.data(), cEncrypt::kMaxFileChunkSize);
    transform(chunk.data(), cEncrypt::kMaxFileChunkSize);
    out.Write(chunk.data(), cEncrypt::kMaxFileChunkSize);
  }
  return size;
}

}  // namespace

int cEncrypt::FileEncrypt(const std::string& plaintext_file, const std::string& ciphertext_file) {
  const std::uintmax_t n = FileLength(plaintext_file);
  std::uintmax_t m = kBlockSize * (n / kBlockSize + 1);
  RefuseSameFile(plaintext_file, ciphertext_file);
  BinaryFile in = BinaryFile::OpenForReading(plaintext_file);
  BinaryFile out = BinaryFile::OpenForWriting(ciphertext_file);

  Bytes chunk(static_cast<std::size_t>(std::min<std::uintmax_t>(m, kMaxFileChunkSize)));
  m = LeadingChunks(in, out, chunk, m,
                    [this](std::uint8_t* data, std::size_t size) { EncryptBlocks(data, size); });
  // The last chunk: the rest of the file, zeros, and the length byte.
  const auto last = static_cast<std::size_t>(m);
  std::fill_n(chunk.begin(), last, 0);
  in.Read(chunk.data(), last - 1);
  chunk[last - 1] = static_cast<std::uint8_t>(n % kBlockSize);
  EncryptBlocks(chunk.data(), last);
  out.Write(chunk.data(), last);
  out.Close();
  return 0;
}

int cEncrypt::FileDecrypt(const std::string& plaintext_file, const std::string& ciphertext_file) {
  std::uintmax_t m = FileLength(ciphertext_file);
  if (m == 0 || m % kBlockSize != 0) {
    Message("File Size Error - ciphertext file not a multiple of block size");
    return 1;
  }
  RefuseSameFile(ciphertext_file, plaintext_file);
  BinaryFile in = BinaryFile::OpenForReading(ciphertext_file);
  BinaryFile out = BinaryFile::OpenForWriting(plaintext_file);

  Bytes chunk(static_cast<std::size_t>(std::min<std::uintmax_t>(m, kMaxFileChunkSize)));
  m = LeadingChunks(in, out, chunk, m,
                    [this](std::uint8_t* data, std::size_t size) { DecryptBlocks(data, size); });
  const auto last = static_cast<std::size_t>(m);
  in.ReadAll(chunk.data(), last);
  DecryptBlocks(chunk.data(), last);
  std::size_t n = last;
  if (chunk[last - 1] < kBlockSize) {
    n = last - kBlockSize + chunk[last - 1];
  } else {
    Message("warning - incorrect length field in decrypted file.\r\nWrong key or keysize?");
  }
  out.Write(chunk.data(), n);
  out.Close();
  return 0;
}

void cEncrypt::EncryptFile(const std::string& source, const std::string& destination,
                           const std::string& key) {
  KeyedFileOperation(source, destination, key, [&] { FileEncrypt(source, destination); });
}

void cEncrypt::DecryptFile(const std::string& source, const std::string& destination,
                           const std::string& key) {
  KeyedFileOperation(source, destination, key, [&] { FileDecrypt(destination, source); });
}

void cEncrypt::KeyedFileOperation(const std::string& source, const std::string& destination,
                                  const std::string& key, const std::function<void()>& operation) {
  Trapped([&] {
    if (key.empty()) {
      Message("No Password");
      return;
    }
    if (source.empty() || destination.empty()) return;
    RefuseSameFile(source, destination);
    RidFile(destination);
    SetCipherKeyString(key, 128);
    operation();
  });
}

bool cEncrypt::FileExists(const std::string& file_name) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(PathFromUtf8(file_name), ec);
  return !file_name.empty() && fs::exists(status) && !fs::is_directory(status);
}

void cEncrypt::RidFile(const std::string& file_name) {
  if (!FileExists(file_name)) return;
  std::error_code ec;
  // A read-only file cannot be deleted on every system; make it writable.
  fs::permissions(PathFromUtf8(file_name), fs::perms::owner_write,
                  fs::perm_options::add | fs::perm_options::nofollow, ec);
  if (!fs::remove(PathFromUtf8(file_name), ec) && ec) {
    Raise(err::kPermissionDenied, file_name + ": " + ec.message());
  }
}

}  // namespace veilbox
