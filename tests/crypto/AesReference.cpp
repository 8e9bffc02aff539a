#include "AesReference.h"

#include <openssl/evp.h>

#include <memory>
#include <stdexcept>

namespace veilbox::testing {
namespace {

Bytes RunEcb(const Bytes& key, const Bytes& data, bool encrypt) {
  const EVP_CIPHER* cipher = key.size() == 16   ? EVP_aes_128_ecb()
                             : key.size() == 24 ? EVP_aes_192_ecb()
                                                : EVP_aes_256_ecb();
  std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                      EVP_CIPHER_CTX_free);
  Bytes out(data.size());
  int len = 0;
  if (!ctx || EVP_CipherInit_ex(ctx.get(), cipher, nullptr, key.data(), nullptr, encrypt) != 1 ||
      EVP_CIPHER_CTX_set_padding(ctx.get(), 0) != 1 ||
      EVP_CipherUpdate(ctx.get(), out.data(), &len, data.data(), static_cast<int>(data.size())) !=
          1 ||
      static_cast<std::size_t>(len) != data.size()) {
    throw std::runtime_error("OpenSSL AES-ECB failed");
  }
  return out;
}

}  // namespace

Bytes ReferenceEncrypt(const Bytes& key, const Bytes& data) {
  return RunEcb(key, data, true);
}
Bytes ReferenceDecrypt(const Bytes& key, const Bytes& data) {
  return RunEcb(key, data, false);
}

Bytes FromHex(const std::string& hex) {
  Bytes out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    out.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  return out;
}

std::string BlockHex(const Bytes& data) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (i > 0 && i % 16 == 0) out += "  ";
    out += digits[data[i] >> 4];
    out += digits[data[i] & 15];
  }
  return out;
}

Bytes RandomBytes(std::mt19937& rng, std::size_t n) {
  Bytes out(n);
  for (auto& b : out) b = static_cast<std::uint8_t>(rng());
  return out;
}

Bytes ToBytes(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

}  // namespace veilbox::testing
