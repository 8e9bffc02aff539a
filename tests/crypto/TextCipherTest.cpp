// Text in, hex cipher text out and back: the form of encrypted file names and
// the stored password, its messages, and the quiet check of file names.
#include <gtest/gtest.h>

#include <algorithm>

#include "AesReference.h"
#include "crypto/cEncrypt.h"
#include "platform/PathSeparator.h"
#include "support/ScriptedDialogue.h"

namespace veilbox {
namespace {

using testing::Bytes;

const std::string kKey = "Veilbox-TestKeyText-0123";  // 24 characters, 16 of them used

std::string Nuls(std::size_t n) {
  return std::string(n, '\0');
}
std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](char c) { return std::tolower(c); });
  return s;
}

class TextCipher : public ::testing::Test {
 protected:
  testing::ScriptedDialogue dialogue;
  cEncrypt cipher{dialogue};
};

TEST_F(TextCipher, CipherTextIsZeroPaddedEcbInGroupsOfOneBlock) {
  const Bytes key(kKey.begin(), kKey.begin() + 16);
  for (std::size_t n : {1, 15, 16, 17, 32, 33}) {
    Bytes padded(n, 'q');
    padded.resize((n + 15) / 16 * 16, 0);
    EXPECT_EQ(cipher.Encrypt(std::string(n, 'q'), kKey),
              testing::BlockHex(testing::ReferenceEcb(key, padded)));
  }
  EXPECT_EQ(cipher.Encrypt(std::string(16, 'a'), kKey).size(), 32u);
  const std::string two = cipher.Encrypt(std::string(17, 'a'), kKey);
  EXPECT_EQ(two.size(), 66u);
  EXPECT_EQ(two.substr(32, 2), "  ");
  // Key bytes after the 16th do not count.
  EXPECT_EQ(cipher.Encrypt("secret", kKey.substr(0, 16) + std::string(40, 'x')),
            cipher.Encrypt("secret", kKey));
  EXPECT_EQ(cEncrypt().Encrypt("secret", kKey), cipher.Encrypt("secret", kKey));
  // One cipher serves keys in turn, also after a key set by bytes.
  const std::string other = cEncrypt().Encrypt("secret", "another key text");
  EXPECT_EQ(cipher.Encrypt("secret", "another key text"), other);
  cipher.SetCipherKey(key, 128);
  cipher.Encrypt("secret", kKey);
  cipher.SetCipherKey(Bytes(16, 'z'), 128);
  EXPECT_EQ(cipher.Encrypt("secret", kKey), cEncrypt().Encrypt("secret", kKey));
  EXPECT_TRUE(dialogue.boxes.empty());
}

TEST_F(TextCipher, DecryptGivesTheTextWithItsNulPadding) {
  for (const std::string text : {"a", "exactly16chars!!", "seventeen chars!!", "Grüße aus Köln.doc",
                                 "日本語のファイル名.txt"}) {
    EXPECT_EQ(cipher.Decrypt(cipher.Encrypt(text, kKey), kKey),
              text + Nuls((16 - text.size() % 16) % 16));
  }
  EXPECT_TRUE(dialogue.boxes.empty());
}

TEST_F(TextCipher, DecryptIgnoresCaseSpacesLineBreaksAndOtherCharacters) {
  const std::string text = "a name of some thirty-eight characters";
  const std::string hex = cipher.Encrypt(text, kKey), expected = text + Nuls(10);
  std::string packed, broken, wide;
  std::copy_if(hex.begin(), hex.end(), std::back_inserter(packed), [](char c) { return c != ' '; });
  for (std::size_t i = 0; i < packed.size(); ++i)
    broken += packed[i] + std::string(i % 7 ? "" : "\r\n#");
  // A character counts by the low byte of its code: U+0141 stands for "A".
  for (char c : packed) wide += c == 'A' ? std::string("\u0141") : std::string(1, c);
  for (const std::string& variant : {Lower(hex), packed, broken, wide, packed + "F"}) {
    EXPECT_EQ(cipher.Decrypt(variant, kKey), expected) << variant;
  }
}

TEST_F(TextCipher, RefusalsShowTheirMessageAndGiveEmptyText) {
  const std::pair<std::string, std::string> cases[] = {
      {cipher.Encrypt("", kKey), "No Plaintext"},
      {cipher.Encrypt("name", ""), "No Password"},
      {cipher.Decrypt("", kKey), "No Ciphertext"},
      {cipher.Decrypt("00112233445566778899AABBCCDDEEFF", ""), "No Password"},
      {cipher.Decrypt("x", kKey), "Text not Hex data"},
      {cipher.Decrypt("A", kKey), "Text not Hex data"},
      {cipher.Decrypt(std::string(30, '7'), kKey), "ciphertext size not a multiple of block size"},
  };
  ASSERT_EQ(dialogue.boxes.size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(cases[i].first, "");
    EXPECT_EQ(dialogue.boxes[i].text, cases[i].second);
    EXPECT_EQ(dialogue.boxes[i].title, "Veilbox");
    EXPECT_EQ(dialogue.boxes[i].icon, Icon::None);
    EXPECT_EQ(dialogue.boxes[i].buttons, Buttons::OK);
  }
}

TEST_F(TextCipher, DecryptSurvivesArbitraryText) {
  const std::string alphabet = "0123456789ABCDEFabcdef  \r\n\t/\\.xyz\x80\xC3\xA9\xF0\xFF";
  std::mt19937 rng(99);
  cEncrypt quiet;
  for (int i = 0; i < 2000; ++i) {
    std::string text(rng() % 120, ' ');
    for (char& c : text) c = alphabet[rng() % alphabet.size()];
    EXPECT_EQ(quiet.Decrypt(text, kKey).size() % 16, 0u) << text;
  }
}

TEST_F(TextCipher, DecryptFileNameAcceptsOnlyWhatEncryptMakesOfAFileName) {
  for (const std::string name : {"a", "exactly16chars!!", ".hidden", "Grüße.doc"}) {
    EXPECT_EQ(cipher.DecryptFileName(cipher.Encrypt(name, kKey), kKey), name);
  }
  const std::string good = cipher.Encrypt("seventeen chars!!", kKey);
  EXPECT_EQ(cipher.DecryptFileName(good, kKey), "seventeen chars!!");
  const std::string not_names[] = {
      "",
      "readme.txt",
      "ABCDEF",
      Lower(good),
      good.substr(0, 32) + good.substr(34),         // no spaces
      good.substr(0, 32) + " " + good.substr(34),   // one space
      good.substr(0, 32) + "00" + good.substr(34),  // digits where the gap is
      good + "  ",
      " " + good,
      std::string(32, 'G'),
      cipher.Encrypt(".", kKey),
      cipher.Encrypt("..", kKey),
      cipher.Encrypt("dir/name", kKey),
      cipher.Encrypt(std::string("nul\0inside", 10), kKey),
      cipher.Encrypt(Nuls(16), kKey),
      cipher.Encrypt("a whole block of padding" + Nuls(24), kKey),
  };
  for (const std::string& name : not_names) {
    EXPECT_EQ(cipher.DecryptFileName(name, kKey), std::nullopt) << name;
  }
  EXPECT_EQ(cipher.DecryptFileName(good, ""), std::nullopt);
  // A backslash is part of a Linux file name and separates folders on Windows.
  EXPECT_EQ(cipher.DecryptFileName(cipher.Encrypt("dir\\name", kKey), kKey),
            kPathSeparator == '/' ? std::optional<std::string>("dir\\name") : std::nullopt);
  EXPECT_TRUE(dialogue.boxes.empty());
}

}  // namespace
}  // namespace veilbox
