// The table-driven Rijndael (AES) core of cEncrypt: round tables computed
// from logarithm tables when the object is built, the key schedule, and the
// encryption and decryption of one 16-byte block.
//
// A word holds four consecutive bytes with the first byte in its low 8 bits,
// whatever the host's byte order, so the tables are the byte-reversed forms
// of the reference implementation's T-tables.
#pragma once

#include <array>
#include <cstdint>

namespace veilbox {

class Rijndael {
 public:
  // Builds the tables. Until SetKey the round keys are zero.
  Rijndael();

  // Expands a key of key_words words (4, 6 or 8) read from key; the caller
  // has checked the length.
  void SetKey(const std::uint8_t* key, int key_words);

  // Transform the 16 bytes at in into out. The input is read whole before
  // the output is written, so in may equal out.
  void EncryptBlock(const std::uint8_t* in, std::uint8_t* out) const;
  void DecryptBlock(const std::uint8_t* in, std::uint8_t* out) const;

 private:
  using Table = std::array<std::uint32_t, 256>;

  void CreateDecryptionKeys();

  Table Te0_, Te1_, Te2_, Te3_, Te4_;
  Table Td0_, Td1_, Td2_, Td3_, Td4_;
  std::array<std::uint32_t, 10> rco_;
  std::array<std::uint32_t, 60> fkey_{};  // encryption round keys
  std::array<std::uint32_t, 60> rkey_{};  // decryption round keys, reversed and unmixed
  int Nr_ = 0;                            // rounds: 10, 12 or 14
};

}  // namespace veilbox
