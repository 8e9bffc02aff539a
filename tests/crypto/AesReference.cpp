#include "AesReference.h"

#include <openssl/evp.h>

#include <memory>
#include <stdexcept>

namespace veilbox::testing {

Bytes ReferenceEcb(const Bytes& key, const Bytes& data, bool encrypt) {
  const EVP_CIPHER* cipher = key.size() == 16   ? EVP_aes_128_ecb()
                             : key.size() == 24 ? EVP_aes_192_ecb()
                                                : EVP_aes_256_ecb();
  std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                      EVP_CIPHER_CTX_free);
  Bytes out(data.size());
  int len = 0;
  if (!ctx || !EVP_CipherInit_ex(ctx.get(), cipher, nullptr, key.data(), nullptr, encrypt) ||
      !EVP_CIPHER_CTX_set_padding(ctx.get(), 0) ||
      !EVP_CipherUpdate(ctx.get(), out.data(), &len, data.data(), static_cast<int>(data.size()))) {
    throw std::runtime_error("OpenSSL AES-ECB failed");
  }
  return out;
}

Bytes FromHex(const std::string& hex) {
  Bytes out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    out.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  }
  return out;
}

std::string BlockHex(const Bytes& data) {
  std::string out;
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (i > 0 && i % 16 == 0) out += "  ";
    out += "0123456789ABCDEF"[data[i] >> 4];
    out += "0123456789ABCDEF"[data[i] & 15];
  }
  return out;
}

Bytes RandomBytes(std::mt19937& rng, std::size_t n) {
  Bytes out(n);
  for (auto& b : out) b = static_cast<std::uint8_t>(rng());
  return out;
}

}  // namespace veilbox::testing
