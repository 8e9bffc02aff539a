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

const Bytes kFipsPlain = FromHex("00112233445566778899aabbccddeeff");
const Bytes kFipsKey = FromHex("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f");

struct KnownAnswer {
  int bits;
  const char* cipher;
};
const KnownAnswer kFips197[] = {{128, "69c4e0d86a7b0430d8cdb78070b4c55a"},
                                {192, "dda97ca4864cdfe06eaf70a0ec0d7191"},
                                {256, "8ea2b7ca516745bfeafc49904b496089"}};

Bytes Encrypted(cEncrypt& c, const Bytes& block) {
  Bytes out(16);
  c.BlockEncrypt(block, out, 0, 0);
  return out;
}

TEST(BlockCipher, Fips197AppendixCAtOffsetsAndInPlace) {
  for (const auto& ka : kFips197) {
    SCOPED_TRACE(ka.bits);
    cEncrypt c;
    c.SetCipherKey(Bytes(kFipsKey.begin(), kFipsKey.begin() + ka.bits / 8), ka.bits);
    const Bytes expected = FromHex(ka.cipher);

    Bytes in(40, 0xEE), out(48, 0xEE);
    std::copy(kFipsPlain.begin(), kFipsPlain.end(), in.begin() + 8);
    c.BlockEncrypt(in, out, 8, 24);
    EXPECT_EQ(Bytes(out.begin() + 24, out.begin() + 40), expected);
    EXPECT_EQ(out[23], 0xEE);
    EXPECT_EQ(out[40], 0xEE);

    Bytes back(32, 0xEE);
    c.BlockDecrypt(back, out, 16, 24);
    EXPECT_EQ(Bytes(back.begin() + 16, back.end()), kFipsPlain);

    Bytes buf = kFipsPlain;
    c.BlockEncrypt(buf, buf, 0, 0);
    EXPECT_EQ(buf, expected);
    c.BlockDecrypt(buf, buf, 0, 0);
    EXPECT_EQ(buf, kFipsPlain);
  }
}

TEST(BlockCipher, MatchesOpenSslOnRandomKeysAndBlocks) {
  std::mt19937 rng(20240611);
  for (int bits : {128, 192, 256}) {
    SCOPED_TRACE(bits);
    cEncrypt c;
    for (int i = 0; i < 3000; ++i) {
      const Bytes key = testing::RandomBytes(rng, bits / 8);
      const Bytes block = testing::RandomBytes(rng, 16);
      c.SetCipherKey(key, bits);
      Bytes out(16);
      c.BlockEncrypt(block, out, 0, 0);
      ASSERT_EQ(out, testing::ReferenceEncrypt(key, block)) << "key " << i;
      c.BlockDecrypt(out, block, 0, 0);
      ASSERT_EQ(out, testing::ReferenceDecrypt(key, block)) << "key " << i;
    }
  }
}

TEST(BlockCipher, KeyUsesOnlyItsLeadingBytes) {
  cEncrypt c;
  c.SetCipherKey(Bytes(kFipsKey.begin(), kFipsKey.begin() + 16), 128);
  const Bytes short_key = Encrypted(c, kFipsPlain);
  c.SetCipherKey(kFipsKey, 128);
  EXPECT_EQ(Encrypted(c, kFipsPlain), short_key);
  EXPECT_EQ(short_key, FromHex(kFips197[0].cipher));
}

TEST(BlockCipher, RejectedKeyLeavesThePreviousKeyInUse) {
  cEncrypt c;
  c.SetCipherKey(kFipsKey, 128);
  for (int bits : {160, 0, 64, -128, 512}) {
    try {
      c.SetCipherKey(Bytes(32, 0xAB), bits);
      ADD_FAILURE() << bits << " accepted";
    } catch (const Failure& f) {
      EXPECT_EQ(f.Number(), err::kIllegalKeyBits);
      EXPECT_EQ(f.Description(), "cEncrypt.SetCipherKey - Illegal KeyBits Value");
    }
  }
  // A pass too short for the key size is refused the same way.
  EXPECT_THROW(c.SetCipherKey(Bytes(16, 0xAB), 256), Failure);
  EXPECT_EQ(Encrypted(c, kFipsPlain), FromHex(kFips197[0].cipher));
}

TEST(BlockCipher, BlockOutsideTheBufferIsReportedAndNothingWritten) {
  testing::ScriptedDialogue dialogue;
  dialogue.Answers({Answer::Yes, Answer::Yes});
  cEncrypt c(dialogue);
  c.SetCipherKey(kFipsKey, 128);
  const Bytes in(20, 1);
  Bytes out(20, 7);
  c.BlockEncrypt(in, out, 5, 0);  // only 15 bytes behind offset 5
  c.BlockDecrypt(out, in, 0, static_cast<std::size_t>(-16));
  EXPECT_EQ(out, Bytes(20, 7));
  ASSERT_EQ(dialogue.boxes.size(), 2u);
  EXPECT_EQ(dialogue.boxes[0].title, "Error");
  EXPECT_NE(dialogue.boxes[0].text.find("Error Number: 9."), std::string::npos);

  cEncrypt quiet;  // without a dialogue it is simply refused
  quiet.BlockEncrypt(in, out, 0, 8);
  EXPECT_EQ(out, Bytes(20, 7));
}

}  // namespace
}  // namespace veilbox
