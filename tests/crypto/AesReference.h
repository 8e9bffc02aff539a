// Independent AES for checking cEncrypt (OpenSSL's AES-ECB without padding)
// and small byte helpers shared by the cipher tests.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace veilbox::testing {

using Bytes = std::vector<std::uint8_t>;

// AES-ECB of whole blocks with a 16-, 24- or 32-byte key.
Bytes ReferenceEcb(const Bytes& key, const Bytes& data, bool encrypt = true);

Bytes FromHex(const std::string& hex);
// Uppercase hex, 32-digit groups joined by two spaces.
std::string BlockHex(const Bytes& data);
Bytes RandomBytes(std::mt19937& rng, std::size_t n);

}  // namespace veilbox::testing
