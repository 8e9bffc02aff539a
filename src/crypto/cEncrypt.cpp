// cEncrypt's construction, keys, single blocks and messages.
#include "crypto/cEncrypt.h"

#include <algorithm>

#include "diag/Failure.h"
#include "platform/Codec.h"

namespace veilbox {
namespace {

constexpr std::size_t kKeyBytes = 32;

bool HoldsBlock(const cEncrypt::Bytes& buffer, std::size_t offset) {
  return offset <= buffer.size() && buffer.size() - offset >= cEncrypt::kBlockSize;
}

}  // namespace

cEncrypt::cEncrypt() = default;

cEncrypt::cEncrypt(UserNotices& notices) : notices_(&notices) {}

int cEncrypt::SetCipherKey(const Bytes& pass, int key_bits) {
  if (key_bits != 128 && key_bits != 192 && key_bits != 256) {
    Raise(err::kIllegalKeyBits, "cEncrypt.SetCipherKey - Illegal KeyBits Value");
  }
  if (pass.size() < static_cast<std::size_t>(key_bits / 8)) {
    Raise(err::kSubscriptOutOfRange, "Subscript out of range");
  }
  keyed_with_.reset();
  core_.SetKey(pass.data(), key_bits / 32);
  return 0;
}

void cEncrypt::KeyWithText(const std::string& key) {
  if (keyed_with_ == key) return;
  SetCipherKey(GetPassword(key), 128);
  keyed_with_ = key;
}

int cEncrypt::SetCipherKeyString(const std::string& pass_phrase, int key_bits) {
  return SetCipherKey(GetPassword(pass_phrase), key_bits);
}

void cEncrypt::BlockEncrypt(const Bytes& plaintext, Bytes& ciphertext, std::size_t p,
                            std::size_t q) {
  if (!HoldsBlock(plaintext, p) || !HoldsBlock(ciphertext, q)) {
    Report(Failure(err::kSubscriptOutOfRange, "Subscript out of range"));
    return;
  }
  core_.EncryptBlock(plaintext.data() + p, ciphertext.data() + q);
}

void cEncrypt::BlockDecrypt(Bytes& plaintext, const Bytes& ciphertext, std::size_t p,
                            std::size_t q) {
  if (!HoldsBlock(plaintext, p) || !HoldsBlock(ciphertext, q)) {
    Report(Failure(err::kSubscriptOutOfRange, "Subscript out of range"));
    return;
  }
  core_.DecryptBlock(ciphertext.data() + q, plaintext.data() + p);
}

void cEncrypt::EncryptBlocks(std::uint8_t* data, std::size_t size) const {
  for (std::size_t i = 0; i + kBlockSize <= size; i += kBlockSize) {
    core_.EncryptBlock(data + i, data + i);
  }
}

void cEncrypt::DecryptBlocks(std::uint8_t* data, std::size_t size) const {
  for (std::size_t i = 0; i + kBlockSize <= size; i += kBlockSize) {
    core_.DecryptBlock(data + i, data + i);
  }
}

cEncrypt::Bytes cEncrypt::GetPassword(const std::string& key) {
  const std::string ansi = ToAnsi(key);
  Bytes bytes(kKeyBytes, 0);
  std::copy_n(ansi.begin(), std::min(ansi.size(), kKeyBytes), bytes.begin());
  return bytes;
}

void cEncrypt::Message(const std::string& text) {
  if (notices_) notices_->Tell(text, kTitle, Icon::None);
}

void cEncrypt::Report(const Failure& failure) {
  if (notices_) notices_->Report(failure);
}

}  // namespace veilbox
