// cEncrypt's buffer layer: whole byte buffers in ECB mode, zero-padded to
// whole blocks, with or without a length byte in the last block.
#include <algorithm>

#include "crypto/cEncrypt.h"

namespace veilbox {

int cEncrypt::ArrayEncrypt(const Bytes& plaintext, Bytes& ciphertext, int appendsize) {
  const std::size_t n = plaintext.size();
  const std::size_t tail = n % kBlockSize;
  const std::size_t m =
      appendsize == 0 ? n + (tail == 0 ? 0 : kBlockSize - tail) : kBlockSize * (n / kBlockSize + 1);
  // A new buffer, so that plaintext and ciphertext may be the same one.
  Bytes out(m, 0);
  if (appendsize != 0) out[m - 1] = static_cast<std::uint8_t>(tail);
  std::copy(plaintext.begin(), plaintext.end(), out.begin());
  EncryptBlocks(out.data(), m);
  ciphertext = std::move(out);
  return 0;
}

int cEncrypt::ArrayDecrypt(Bytes& plaintext, const Bytes& ciphertext, int appendsize) {
  const std::size_t n = ciphertext.size();
  if (n % kBlockSize != 0) {
    Message("ciphertext size not a multiple of block size");
    return -1;
  }
  Bytes out(ciphertext);
  DecryptBlocks(out.data(), n);
  int result = 0;
  if (appendsize != 0) {
    // An empty buffer has no length field at all.
    const std::size_t length_byte = n == 0 ? kBlockSize : out[n - 1];
    if (length_byte < kBlockSize) {
      out.resize(n - kBlockSize + length_byte);
    } else {
      Message("warning - incorrect length field");
      result = 1;
    }
  }
  plaintext = std::move(out);
  return result;
}

}  // namespace veilbox
