#include "crypto/PasswordHash.h"

// clang-format off
#include <windows.h>
#include <bcrypt.h>
// clang-format on

#include <climits>

#include "diag/Failure.h"

namespace veilbox {
namespace {

// CNG's HMAC-SHA256 provider, closed on every way out.
class HmacSha256 {
 public:
  HmacSha256() {
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&handle_, BCRYPT_SHA256_ALGORITHM, nullptr,
                                                    BCRYPT_ALG_HANDLE_HMAC_FLAG))) {
      Raise(err::kInvalidArgument, "Password hash unavailable");
    }
  }
  ~HmacSha256() { BCryptCloseAlgorithmProvider(handle_, 0); }
  HmacSha256(const HmacSha256&) = delete;
  HmacSha256& operator=(const HmacSha256&) = delete;

  BCRYPT_ALG_HANDLE handle() const { return handle_; }

 private:
  BCRYPT_ALG_HANDLE handle_ = nullptr;
};

// CNG takes byte pointers that it does not write through.
PUCHAR Bytes(const void* data) {
  return static_cast<PUCHAR>(const_cast<void*>(data));
}

}  // namespace

std::vector<std::uint8_t> Pbkdf2Sha256(const std::string& password,
                                       const std::vector<std::uint8_t>& salt,
                                       std::uint32_t iterations) {
  if (password.size() > ULONG_MAX || salt.size() > ULONG_MAX) {
    Raise(err::kInvalidArgument, "Password hash: input out of range");
  }
  HmacSha256 hmac;
  std::vector<std::uint8_t> key(kPbkdf2KeySize);
  if (!BCRYPT_SUCCESS(BCryptDeriveKeyPBKDF2(hmac.handle(), Bytes(password.data()),
                                            static_cast<ULONG>(password.size()), Bytes(salt.data()),
                                            static_cast<ULONG>(salt.size()), iterations, key.data(),
                                            static_cast<ULONG>(key.size()), 0))) {
    Raise(err::kInvalidArgument, "Password hash failed");
  }
  return key;
}

std::vector<std::uint8_t> RandomBytes(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  if (size > ULONG_MAX ||
      !BCRYPT_SUCCESS(BCryptGenRandom(nullptr, bytes.data(), static_cast<ULONG>(size),
                                      BCRYPT_USE_SYSTEM_PREFERRED_RNG))) {
    Raise(err::kInvalidArgument, "Random bytes unavailable");
  }
  return bytes;
}

}  // namespace veilbox
