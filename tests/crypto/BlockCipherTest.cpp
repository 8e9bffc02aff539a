// The AES core against the published known answers and against OpenSSL.
#include <gtest/gtest.h>

#include "AesReference.h"
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

TEST(BlockCipher, Fips197AppendixCAtOffsetsAndInPlace) {
  for (const auto& [bits, expected] : kFips197) {
    SCOPED_TRACE(bits);
    cEncrypt c;
    c.SetCipherKey(kKey, bits);
    Bytes in(40, 0xEE), out(48, 0xEE), back(32, 0xEE);
    std::copy(kPlain.begin(), kPlain.end(), in.begin() + 8);
    c.BlockEncrypt(in, out, 8, 24);
    EXPECT_EQ(Bytes(out.begin() + 24, out.begin() + 40), expected);
    EXPECT_EQ(out[23] + out[40], 2 * 0xEE);  // neighbours untouched
    c.BlockDecrypt(back, out, 16, 24);
    EXPECT_EQ(Bytes(back.begin() + 16, back.end()), kPlain);

    Bytes buf = kPlain;
    c.BlockEncrypt(buf, buf, 0, 0);
    EXPECT_EQ(buf, expected);
    c.BlockDecrypt(buf, buf, 0, 0);
    EXPECT_EQ(buf, kPlain);
  }
}

TEST(BlockCipher, MatchesOpenSslOnRandomKeysAndBlocks) {
  std::mt19937 rng(20240611);
  cEncrypt c;
  for (int bits : {128, 192, 256}) {
    for (int i = 0; i < 3000; ++i) {
      const Bytes key = testing::RandomBytes(rng, bits / 8);
      const Bytes block = testing::RandomBytes(rng, 16);
      Bytes out(16);
      c.SetCipherKey(key, bits);
      c.BlockEncrypt(block, out, 0, 0);
      ASSERT_EQ(out, testing::ReferenceEcb(key, block)) << bits << " bits, key " << i;
      c.BlockDecrypt(out, block, 0, 0);
      ASSERT_EQ(out, testing::ReferenceEcb(key, block, false)) << bits << " bits, key " << i;
    }
  }
}

TEST(BlockCipher, RejectedKeyLeavesThePreviousKeyInUse) {
  cEncrypt c;
  c.SetCipherKey(kKey, 128);
  for (int bits : {160, 0, 64, -128, 512}) {
    try {
      c.SetCipherKey(Bytes(32, 0xAB), bits);
      ADD_FAILURE() << bits << " accepted";
    } catch (const Failure& f) {
      EXPECT_EQ(f.Number(), err::kIllegalKeyBits);
      EXPECT_EQ(f.Description(), "cEncrypt.SetCipherKey - Illegal KeyBits Value");
    }
  }
  EXPECT_THROW(c.SetCipherKey(Bytes(16, 0xAB), 256), Failure);  // pass too short
  Bytes out(16);
  c.BlockEncrypt(kPlain, out, 0, 0);
  EXPECT_EQ(out, kFips197[0].second);
}

TEST(BlockCipher, BlockOutsideTheBufferIsReportedAndNothingWritten) {
  testing::ScriptedDialogue dialogue;
  dialogue.Answers({Answer::Yes, Answer::Yes});
  cEncrypt c(dialogue), quiet;
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

}  // namespace
}  // namespace veilbox
