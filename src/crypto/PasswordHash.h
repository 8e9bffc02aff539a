// PBKDF2-HMAC-SHA256 and random bytes from the platform's own maintained
// cryptography: OpenSSL's libcrypto (openssl/PasswordHash.cpp) or Windows
// CNG (cng/PasswordHash.cpp). Both give the same bytes for the same input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace veilbox {

constexpr std::size_t kPbkdf2KeySize = 32;  // one SHA-256 output

// The PBKDF2-HMAC-SHA256 key of the password's bytes, all of them, under
// salt with the given number of iterations. Raises when the library fails.
std::vector<std::uint8_t> Pbkdf2Sha256(const std::string& password,
                                       const std::vector<std::uint8_t>& salt,
                                       std::uint32_t iterations);

// size bytes from the system's cryptographic random generator. Raises when
// the generator fails.
std::vector<std::uint8_t> RandomBytes(std::size_t size);

}  // namespace veilbox
