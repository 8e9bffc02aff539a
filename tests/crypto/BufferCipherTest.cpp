// Whole buffers: both padding forms against OpenSSL, and ArrayDecrypt's
// two refusals.
#include <gtest/gtest.h>

#include "AesReference.h"
#include "crypto/cEncrypt.h"
#include "support/ScriptedDialogue.h"

namespace veilbox {
namespace {

using testing::Bytes;

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
      if (appendsize == 0) {
        padded.resize((n + 15) / 16 * 16, 0);  // no extra block when n is whole blocks
      } else {
        padded.resize((n / 16 + 1) * 16, 0);  // always 1 to 16 bytes more
        padded.back() = static_cast<std::uint8_t>(n % 16);
      }
      Bytes buf = plain, back;
      EXPECT_EQ(c.ArrayEncrypt(buf, buf, appendsize), 0);  // in place
      EXPECT_EQ(buf, testing::ReferenceEcb(key, padded));
      EXPECT_EQ(c.ArrayDecrypt(back, buf, appendsize), 0);
      EXPECT_EQ(back, appendsize == 0 ? padded : plain);
    }
  }
}

TEST(BufferCipher, RefusalsShowTheirMessage) {
  testing::ScriptedDialogue dialogue;
  cEncrypt c(dialogue);
  c.SetCipherKey(Bytes(16, 3), 128);
  Bytes plain = {1, 2, 3};
  EXPECT_EQ(c.ArrayDecrypt(plain, Bytes(17, 0), 0), -1);
  EXPECT_EQ(plain, (Bytes{1, 2, 3}));

  Bytes block(32, 5);
  block.back() = 0x10;  // not a length
  EXPECT_EQ(c.ArrayDecrypt(plain, testing::ReferenceEcb(Bytes(16, 3), block), 1), 1);
  EXPECT_EQ(plain, block);

  ASSERT_EQ(dialogue.boxes.size(), 2u);
  EXPECT_EQ(dialogue.boxes[0].text, "ciphertext size not a multiple of block size");
  EXPECT_EQ(dialogue.boxes[0].title, "Veilbox");
  EXPECT_EQ(dialogue.boxes[0].icon, Icon::None);
  EXPECT_EQ(dialogue.boxes[0].buttons, Buttons::OK);
  EXPECT_EQ(dialogue.boxes[1].text, "warning - incorrect length field");
}

}  // namespace
}  // namespace veilbox
