// Whole buffers: both padding forms, checked against OpenSSL, and the two
// refusals of ArrayDecrypt.
#include <gtest/gtest.h>

#include "AesReference.h"
#include "crypto/cEncrypt.h"
#include "support/ScriptedDialogue.h"

namespace veilbox {
namespace {

using testing::Bytes;

class BufferCipher : public ::testing::Test {
 protected:
  void SetUp() override { cipher.SetCipherKey(key, 128); }

  std::mt19937 rng{7};
  const Bytes key = testing::RandomBytes(rng, 16);
  testing::ScriptedDialogue dialogue;
  cEncrypt cipher{dialogue};
};

TEST_F(BufferCipher, ZeroPaddedFormFillsTheLastBlockOnly) {
  for (std::size_t n = 0; n <= 48; ++n) {
    SCOPED_TRACE(n);
    const Bytes plain = testing::RandomBytes(rng, n);
    Bytes cipher_buf;
    EXPECT_EQ(cipher.ArrayEncrypt(plain, cipher_buf, 0), 0);
    Bytes padded = plain;
    padded.resize((n + 15) / 16 * 16, 0);
    EXPECT_EQ(cipher_buf, testing::ReferenceEncrypt(key, padded));

    Bytes back;
    EXPECT_EQ(cipher.ArrayDecrypt(back, cipher_buf, 0), 0);
    EXPECT_EQ(back, padded);
  }
  EXPECT_TRUE(dialogue.boxes.empty());
}

TEST_F(BufferCipher, LengthFieldFormAlwaysAddsABlockHoldingTheLength) {
  for (std::size_t n = 0; n <= 48; ++n) {
    SCOPED_TRACE(n);
    const Bytes plain = testing::RandomBytes(rng, n);
    Bytes cipher_buf;
    cipher.ArrayEncrypt(plain, cipher_buf, 1);
    Bytes padded = plain;
    padded.resize((n / 16 + 1) * 16, 0);
    padded.back() = static_cast<std::uint8_t>(n % 16);
    EXPECT_EQ(cipher_buf, testing::ReferenceEncrypt(key, padded));

    Bytes back;
    EXPECT_EQ(cipher.ArrayDecrypt(back, cipher_buf, 1), 0);
    EXPECT_EQ(back, plain);
  }
  EXPECT_TRUE(dialogue.boxes.empty());
}

TEST_F(BufferCipher, EncryptsInPlace) {
  const Bytes plain = testing::RandomBytes(rng, 21);
  Bytes expected;
  cipher.ArrayEncrypt(plain, expected, 0);
  Bytes buf = plain;
  cipher.ArrayEncrypt(buf, buf, 0);
  EXPECT_EQ(buf, expected);
}

TEST_F(BufferCipher, PartialBlockIsRefusedWithItsMessage) {
  Bytes plain = {1, 2, 3};
  EXPECT_EQ(cipher.ArrayDecrypt(plain, Bytes(17, 0), 0), -1);
  EXPECT_EQ(plain, (Bytes{1, 2, 3}));
  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_EQ(dialogue.boxes[0].text, "ciphertext size not a multiple of block size");
  EXPECT_EQ(dialogue.boxes[0].title, "Veilbox");
  EXPECT_EQ(dialogue.boxes[0].icon, Icon::None);
  EXPECT_EQ(dialogue.boxes[0].buttons, Buttons::OK);
}

TEST_F(BufferCipher, BadLengthFieldKeepsEveryByteWithAWarning) {
  Bytes block = testing::RandomBytes(rng, 32);
  block.back() = 0x10;
  const Bytes cipher_buf = testing::ReferenceEncrypt(key, block);
  Bytes back;
  EXPECT_EQ(cipher.ArrayDecrypt(back, cipher_buf, 1), 1);
  EXPECT_EQ(back, block);
  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_EQ(dialogue.boxes[0].text, "warning - incorrect length field");
}

}  // namespace
}  // namespace veilbox
