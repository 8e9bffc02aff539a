// Throughput of cEncrypt's table-driven BlockEncrypt beside OpenSSL's
// AES-128-ECB, measured in the same run on the same buffer. Which OpenSSL
// code runs depends on OPENSSL_ia32cap (bench/cipher.sh masks AES-NI off for
// a second run), so the two figures are always compared like for like.
#include <openssl/evp.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "crypto/cEncrypt.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kBufferSize = 64 * 1024;  // stays in cache: measures the cipher only
constexpr int kRounds = 7;
constexpr double kRoundSeconds = 0.25;

// Best throughput in MB/s (10^6 bytes) over kRounds timed rounds of
// repeated passes over the buffer.
double MegabytesPerSecond(const std::function<void()>& pass) {
  pass();  // warm the caches and the tables
  double best = 0;
  for (int round = 0; round < kRounds; ++round) {
    long passes = 0;
    const Clock::time_point start = Clock::now();
    std::chrono::duration<double> elapsed{};
    do {
      pass();
      ++passes;
      elapsed = Clock::now() - start;
    } while (elapsed.count() < kRoundSeconds);
    best = std::max(best, passes * double(kBufferSize) / elapsed.count() / 1e6);
  }
  return best;
}

}  // namespace

int main() {
  std::vector<std::uint8_t> key(16);
  std::vector<std::uint8_t> buffer(kBufferSize);
  for (std::size_t i = 0; i < key.size(); ++i) key[i] = static_cast<std::uint8_t>(i * 7 + 1);
  for (std::size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<std::uint8_t>(i);

  veilbox::cEncrypt cipher;
  cipher.SetCipherKey(key, 128);
  const double ours = MegabytesPerSecond([&] {
    for (std::size_t i = 0; i < kBufferSize; i += 16) cipher.BlockEncrypt(buffer, buffer, i, i);
  });

  std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                      EVP_CIPHER_CTX_free);
  if (!ctx || EVP_EncryptInit_ex(ctx.get(), EVP_aes_128_ecb(), nullptr, key.data(), nullptr) != 1) {
    std::fprintf(stderr, "OpenSSL AES-128-ECB is not available\n");
    return EXIT_FAILURE;
  }
  EVP_CIPHER_CTX_set_padding(ctx.get(), 0);
  const double openssl = MegabytesPerSecond([&] {
    int len = 0;
    EVP_EncryptUpdate(ctx.get(), buffer.data(), &len, buffer.data(), static_cast<int>(kBufferSize));
  });

  const char* cap = std::getenv("OPENSSL_ia32cap");
  std::printf("cEncrypt BlockEncrypt (AES-128): %8.1f MB/s\n", ours);
  std::printf("OpenSSL AES-128-ECB (EVP):       %8.1f MB/s  (OPENSSL_ia32cap=%s)\n", openssl,
              cap ? cap : "unset");
  std::printf("ratio ours / OpenSSL:            %8.3f\n", ours / openssl);
  std::printf("(checksum %02x)\n", buffer[0] ^ buffer[kBufferSize - 1]);
  return EXIT_SUCCESS;
}
