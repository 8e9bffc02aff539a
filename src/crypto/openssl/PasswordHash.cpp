#include "crypto/PasswordHash.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <climits>

#include "diag/Failure.h"

namespace veilbox {

std::vector<std::uint8_t> Pbkdf2Sha256(const std::string& password,
                                       const std::vector<std::uint8_t>& salt,
                                       std::uint32_t iterations) {
  if (password.size() > INT_MAX || salt.size() > INT_MAX || iterations > INT_MAX) {
    Raise(err::kInvalidArgument, "Password hash: input out of range");
  }
  std::vector<std::uint8_t> key(kPbkdf2KeySize);
  if (PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()), salt.data(),
                        static_cast<int>(salt.size()), static_cast<int>(iterations), EVP_sha256(),
                        static_cast<int>(key.size()), key.data()) != 1) {
    Raise(err::kInvalidArgument, "Password hash failed");
  }
  return key;
}

std::vector<std::uint8_t> RandomBytes(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  if (size > INT_MAX || RAND_bytes(bytes.data(), static_cast<int>(size)) != 1) {
    Raise(err::kInvalidArgument, "Random bytes unavailable");
  }
  return bytes;
}

}  // namespace veilbox
