// The AES core against the published known answers and against OpenSSL, and
// whole buffers in both padding forms with ArrayDecrypt's two refusals.
#include <gtest/gtest.h>

#include <tuple>

#include "AesReference.h"
#include "app/ErrorReporter.h"
#include "crypto/cEncrypt.h"
#include "diag/Failure.h"
#include "support/ScriptedDialogue.h"

namespace veilbox {
namespace {

using testing::Bytes;
using testing::FromHex;

const Bytes kPlain = FromHex("00112233445566778899aabbccddeeff");
// 32 bytes: each key size must use only its own leading part.
const Bytes kKey = FromHex("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f");
const std::pair<int, Bytes> kFips197[] = {{128, FromHex("69c4e0d86a7b0430d8cdb78070b4c55a")},
                                          {192, FromHex("dda97ca4864cdfe06eaf70a0ec0d7191")},
                                          {256, FromHex("8ea2b7ca516745bfeafc49904b496089")}};

// The FIPS-197 appendix C answers, read from and written to offsets inside
// larger buffers, then random keys and blocks against OpenSSL.
TEST(BlockCipher, MatchesFips197AtOffsetsAndOpenSslOnRandomKeys) {
  std::mt19937 rng(20240611);
  cEncrypt c;
  for (const auto& [bits, expected] : kFips197) {
    SCOPED_TRACE(bits);
    c.SetCipherKey(kKey, bits);
    Bytes in(40, 0xEE), out(48, 0xEE), back(32, 0xEE);
    std::copy(kPlain.begin(), kPlain.end(), in.begin() + 8);
    c.BlockEncrypt(in, out, 8, 24);
    EXPECT_EQ(Bytes(out.begin() + 24, out.begin() + 40), expected);
    EXPECT_EQ(out[23] + out[40], 2 * 0xEE);  // neighbours untouched
    c.BlockDecrypt(back, out, 16, 24);
    EXPECT_EQ(Bytes(back.begin() + 16, back.end()), kPlain);

    for (int i = 0; i < 3000; ++i) {
      const Bytes key = testing::RandomBytes(rng, bits / 8), block = testing::RandomBytes(rng, 16);
      Bytes enciphered(16), deciphered(16);
      c.SetCipherKey(key, bits);
      c.BlockEncrypt(block, enciphered, 0, 0);
      ASSERT_EQ(enciphered, testing::ReferenceEcb(key, block)) << "key " << i;
      c.BlockDecrypt(deciphered, block, 0, 0);
      ASSERT_EQ(deciphered, testing::ReferenceEcb(key, block, false)) << "key " << i;
    }
  }
}

TEST(BlockCipher, RejectedKeyLeavesThePreviousKeyInUse) {
  cEncrypt c;
  c.SetCipherKey(kKey, 128);
  const std::tuple<int, std::size_t, long> rejected[] = {
      {160, 32, err::kIllegalKeyBits}, {0, 32, err::kIllegalKeyBits},
      {64, 32, err::kIllegalKeyBits},  {-128, 32, err::kIllegalKeyBits},
      {512, 32, err::kIllegalKeyBits}, {256, 16, err::kSubscriptOutOfRange}};  // pass too short
  for (const auto& [bits, pass_size, number] : rejected) {
    try {
      c.SetCipherKey(Bytes(pass_size, 0xAB), bits);
      ADD_FAILURE() << bits << " accepted";
    } catch (const Failure& f) {
      EXPECT_EQ(f.Number(), number) << bits;
    }
  }
  Bytes out(16);
  c.BlockEncrypt(kPlain, out, 0, 0);
  EXPECT_EQ(out, kFips197[0].second);
}

TEST(BlockCipher, BlockOutsideTheBufferIsReportedAndNothingWritten) {
  testing::ScriptedDialogue dialogue;
  dialogue.Answers({Answer::Yes, Answer::Yes});
  ErrorReporter reporter{dialogue};
  cEncrypt c(reporter), quiet;
  const Bytes in(20, 1);
  Bytes out(20, 7);
  c.BlockEncrypt(in, out, 5, 0);  // only 15 bytes behind offset 5
  c.BlockDecrypt(out, in, 0, static_cast<std::size_t>(-16));
  quiet.BlockEncrypt(in, out, 0, 8);
  EXPECT_EQ(out, Bytes(20, 7));
  ASSERT_EQ(dialogue.boxes.size(), 2u);
  EXPECT_EQ(dialogue.boxes[0].title, "Error");
  EXPECT_NE(dialogue.boxes[0].text.find("Error Number: 9."), std::string::npos);
}

// Encrypted in place. appendsize 0 pads with zeros to whole blocks and gives
// the padding back; appendsize 1 always adds 1 to 16 bytes, the last holding
// the length mod 16, and gives back exactly the plaintext.
TEST(BufferCipher, BothPaddingFormsMatchOpenSslAndRoundTrip) {
  std::mt19937 rng(7);
  const Bytes key = testing::RandomBytes(rng, 16);
  cEncrypt c;
  c.SetCipherKey(key, 128);
  for (int appendsize : {0, 1}) {
    for (std::size_t n = 0; n <= 48; ++n) {
      SCOPED_TRACE(::testing::Message() << "appendsize " << appendsize << ", " << n << " bytes");
      const Bytes plain = testing::RandomBytes(rng, n);
      Bytes padded = plain;
      padded.resize(appendsize == 0 ? (n + 15) / 16 * 16 : (n / 16 + 1) * 16, 0);
      if (appendsize == 1) padded.back() = static_cast<std::uint8_t>(n % 16);
      Bytes buf = plain, back;
      EXPECT_EQ(c.ArrayEncrypt(buf, buf, appendsize), 0);
      EXPECT_EQ(buf, testing::ReferenceEcb(key, padded));
      EXPECT_EQ(c.ArrayDecrypt(back, buf, appendsize), 0);
      EXPECT_EQ(back, appendsize == 0 ? padded : plain);
    }
  }
}

// A size that is no multiple of 16 leaves the plaintext as it was; a bad
// length byte keeps every decrypted byte.
TEST(BufferCipher, RefusalsShowTheirMessage) {
  testing::ScriptedDialogue dialogue;
  ErrorReporter reporter{dialogue};
  cEncrypt c(reporter);
  c.SetCipherKey(Bytes(16, 3), 128);
  Bytes plain = {1, 2, 3}, block(32, 5);
  EXPECT_EQ(c.ArrayDecrypt(plain, Bytes(17, 0), 0), -1);
  EXPECT_EQ(plain, (Bytes{1, 2, 3}));
  block.back() = 0x10;  // not a length
  EXPECT_EQ(c.ArrayDecrypt(plain, testing::ReferenceEcb(Bytes(16, 3), block), 1), 1);
  EXPECT_EQ(plain, block);
  ASSERT_EQ(dialogue.boxes.size(), 2u);
  EXPECT_EQ(dialogue.boxes[0].text, "ciphertext size not a multiple of block size");
  EXPECT_EQ(dialogue.boxes[1].text, "warning - incorrect length field");
}

}  // namespace
}  // namespace veilbox
