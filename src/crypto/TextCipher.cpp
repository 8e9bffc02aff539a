// cEncrypt's text layer: text in, uppercase hex cipher text out (one 32-digit
// group per block, groups joined by two spaces), and back. The text is
// zero-padded to whole blocks and always keyed with 128 bits.
#include <algorithm>
#include <string_view>

#include "crypto/Hex.h"
#include "crypto/cEncrypt.h"
#include "platform/Codec.h"
#include "platform/PathSeparator.h"

namespace veilbox {
namespace {

// Whether decrypted bytes, NUL padding removed, make a name that the file
// system can hold in one folder. A backslash is an ordinary character of a
// Linux file name; on Windows it separates folders as "/" does.
bool IsFileName(const std::string& name) {
  constexpr std::string_view kNotInName =
      kPathSeparator == '/' ? std::string_view("/\0", 2) : std::string_view("/\\\0", 3);
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(kNotInName) == std::string::npos;
}

}  // namespace

std::string cEncrypt::Encrypt(const std::string& text, const std::string& key) {
  std::string result;
  Trapped([&] {
    if (text.empty()) return Message("No Plaintext");
    if (key.empty()) return Message("No Password");
    const std::string ansi = ToAnsi(text);
    KeyWithText(key);
    // Zero-padded to whole blocks, in a buffer reused from name to name.
    scratch_.assign((ansi.size() + kBlockSize - 1) / kBlockSize * kBlockSize, 0);
    std::copy(ansi.begin(), ansi.end(), scratch_.begin());
    EncryptBlocks(scratch_.data(), scratch_.size());
    result = HexDisplay(scratch_, scratch_.size(), kBlockSize);
  });
  return result;
}

std::string cEncrypt::Decrypt(const std::string& cipher_text, const std::string& key) {
  std::string result;
  Trapped([&] {
    if (cipher_text.empty()) return Message("No Ciphertext");
    if (key.empty()) return Message("No Password");
    Bytes cipher;
    if (HexDisplayRev(cipher_text, cipher) == 0) return Message("Text not Hex data");
    KeyWithText(key);
    Bytes plain;
    if (ArrayDecrypt(plain, cipher, 0) != 0) return;
    result = FromAnsi(std::string(plain.begin(), plain.end()));
  });
  return result;
}

// Encrypt gives exactly one canonical text for each text, with fewer than a
// block of padding, so anything else is not its cipher text: a file that
// merely looks like hex is left alone.
std::optional<std::string> cEncrypt::DecryptExact(const std::string& cipher_text,
                                                  const std::string& key) {
  if (key.empty() || !ReadBlockHex(cipher_text, scratch_)) return std::nullopt;
  KeyWithText(key);
  DecryptBlocks(scratch_.data(), scratch_.size());
  const auto end =
      std::find_if(scratch_.rbegin(), scratch_.rend(), [](std::uint8_t b) { return b != 0; });
  const auto padding = static_cast<std::size_t>(end - scratch_.rbegin());
  if (padding >= kBlockSize) return std::nullopt;
  return std::string(scratch_.begin(), scratch_.end() - static_cast<std::ptrdiff_t>(padding));
}

std::optional<std::string> cEncrypt::DecryptFileName(const std::string& name,
                                                     const std::string& key) {
  std::optional<std::string> plain = DecryptExact(name, key);
  if (!plain || !IsFileName(*plain)) return std::nullopt;
  return FromAnsi(*plain);
}

}  // namespace veilbox
