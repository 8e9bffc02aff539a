// The AES core: published known answers, long chains of blocks, refusals.
#include <gtest/gtest.h>

#include <tuple>

#include "app/ErrorReporter.h"
#include "crypto/cEncrypt.h"
#include "diag/Failure.h"
#include "support/ScriptedDialogue.h"

namespace veilbox {
namespace {

using Bytes = cEncrypt::Bytes;

Bytes FromHex(const std::string& hex) {
  Bytes out;
  for (std::size_t i = 0; i < hex.size(); i += 2) out.push_back(std::stoi(hex.substr(i, 2), 0, 16));
  return out;
}

const Bytes kPlain = FromHex("00112233445566778899aabbccddeeff");
// 32 bytes: each key size must use only its own leading part.
const Bytes kKey = FromHex("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f");

// FIPS-197 appendix C at offsets inside larger buffers; then 100 keys, each
// XORed with the block enciphered 1000 times under it, ending where OpenSSL does.
TEST(BlockCipher, GivesTheKnownAnswersAtOffsetsAndAfterLongChains) {
  const std::tuple<int, const char*, const char*> known[] = {
      {128, "69c4e0d86a7b0430d8cdb78070b4c55a", "4b9ffbad7717d5eaf9d0b00efbadbfdd"},
      {192, "dda97ca4864cdfe06eaf70a0ec0d7191", "ca253d43e6b281b5c431dae252825ad9"},
      {256, "8ea2b7ca516745bfeafc49904b496089", "b0fef2cd6677f229a91c37b044c45cc2"}};
  cEncrypt c;
  for (const auto& [bits, fips, chained] : known) {
    SCOPED_TRACE(bits);
    c.SetCipherKey(kKey, bits);
    Bytes in(40, 0xEE), out(48, 0xEE), back(32, 0xEE);
    std::copy(kPlain.begin(), kPlain.end(), in.begin() + 8);
    c.BlockEncrypt(in, out, 8, 24);
    EXPECT_EQ(Bytes(out.begin() + 24, out.begin() + 40), FromHex(fips));
    EXPECT_EQ(out[23] + out[40], 2 * 0xEE);  // neighbours untouched
    c.BlockDecrypt(back, out, 16, 24);
    EXPECT_EQ(Bytes(back.begin() + 16, back.end()), kPlain);

    Bytes key(kKey.begin(), kKey.begin() + bits / 8), block = kPlain, before, deciphered(16);
    for (int i = 0; i < 100; ++i) {
      c.SetCipherKey(key, bits);
      for (int j = 0; j < 1000; ++j) {
        before = block;
        c.BlockEncrypt(before, block, 0, 0);
        c.BlockDecrypt(deciphered, block, 0, 0);
        ASSERT_EQ(deciphered, before) << "key " << i << ", block " << j;
      }
      for (std::size_t k = 0; k < key.size(); ++k) key[k] ^= block[k % 16];
    }
    EXPECT_EQ(block, FromHex(chained));
  }
}

TEST(BlockCipher, RefusalsLeaveTheKeyAndTheBuffersAlone) {
  testing::ScriptedDialogue dialogue;
  dialogue.Answers({Answer::Yes, Answer::Yes});
  ErrorReporter reporter{dialogue};
  cEncrypt c(reporter), quiet;
  c.SetCipherKey(kKey, 128);
  for (int bits : {160, 0, 64, -128, 512, 256}) {  // 256 with a pass too short
    try {
      c.SetCipherKey(Bytes(bits == 256 ? 16 : 32, 0xAB), bits);
      ADD_FAILURE() << bits << " accepted";
    } catch (const Failure& f) {
      EXPECT_EQ(f.Number(), bits == 256 ? err::kSubscriptOutOfRange : err::kIllegalKeyBits) << bits;
    }
  }
  Bytes out(16);
  c.BlockEncrypt(kPlain, out, 0, 0);
  EXPECT_EQ(out, FromHex("69c4e0d86a7b0430d8cdb78070b4c55a"));

  const Bytes in(20, 1);
  out.assign(20, 7);
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
