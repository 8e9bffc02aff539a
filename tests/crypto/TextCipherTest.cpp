// Text in, hex cipher text out and back: the form of encrypted file names and
// the stored password, its messages, and the quiet check of file names.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "AesReference.h"
#include "crypto/cEncrypt.h"
#include "support/ScriptedDialogue.h"

namespace veilbox {
namespace {

using testing::Bytes;

const std::string kKey = "Veilbox-TestKeyText-0123";  // 24 characters, 16 of them used

std::string Nuls(std::size_t n) {
  return std::string(n, '\0');
}

class TextCipher : public ::testing::Test {
 protected:
  testing::ScriptedDialogue dialogue;
  cEncrypt cipher{dialogue};
};

TEST_F(TextCipher, CipherTextIsZeroPaddedEcbInGroupsOfOneBlock) {
  const Bytes key = testing::ToBytes(kKey.substr(0, 16));
  for (std::size_t n : {1, 5, 15, 16, 17, 32, 33}) {
    SCOPED_TRACE(n);
    const std::string text(n, 'q');
    Bytes padded = testing::ToBytes(text);
    padded.resize((n + 15) / 16 * 16, 0);
    EXPECT_EQ(cipher.Encrypt(text, kKey),
              testing::BlockHex(testing::ReferenceEncrypt(key, padded)));
  }
  EXPECT_EQ(cipher.Encrypt(std::string(16, 'a'), kKey).size(), 32u);
  const std::string two = cipher.Encrypt(std::string(17, 'a'), kKey);
  ASSERT_EQ(two.size(), 66u);
  EXPECT_EQ(two.substr(32, 2), "  ");
  EXPECT_TRUE(dialogue.boxes.empty());
}

TEST_F(TextCipher, DecryptGivesTheTextWithItsNulPadding) {
  for (const std::string text : {"a", "report.txt", "exactly16chars!!", "seventeen chars!!",
                                 "Grüße aus Köln.doc", "日本語のファイル名.txt"}) {
    SCOPED_TRACE(text);
    const std::size_t pad = (16 - text.size() % 16) % 16;
    EXPECT_EQ(cipher.Decrypt(cipher.Encrypt(text, kKey), kKey), text + Nuls(pad));
  }
  EXPECT_TRUE(dialogue.boxes.empty());
}

TEST_F(TextCipher, DecryptIgnoresCaseSpacesLineBreaksAndOtherCharacters) {
  const std::string text = "a name of some thirty-eight characters";
  const std::string expected = text + Nuls(10);
  const std::string hex = cipher.Encrypt(text, kKey);
  std::string lower = hex, packed, broken;
  std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
  std::copy_if(hex.begin(), hex.end(), std::back_inserter(packed), [](char c) { return c != ' '; });
  for (std::size_t i = 0; i < packed.size(); ++i)
    broken += packed.substr(i, 1) + (i % 7 ? "" : "\r\n#");
  EXPECT_EQ(cipher.Decrypt(lower, kKey), expected);
  EXPECT_EQ(cipher.Decrypt(packed, kKey), expected);
  EXPECT_EQ(cipher.Decrypt(broken, kKey), expected);
  EXPECT_EQ(cipher.Decrypt(packed + "F", kKey), expected);  // unpaired last digit dropped
  // A character counts by the low byte of its code: U+0141 stands for "A".
  std::string wide;
  for (char c : packed) wide += c == 'A' ? std::string("\u0141") : std::string(1, c);
  EXPECT_EQ(cipher.Decrypt(wide, kKey), expected);
}

TEST_F(TextCipher, OnlyTheFirstSixteenKeyBytesCount) {
  const std::string hex = cipher.Encrypt("secret", kKey);
  EXPECT_EQ(cipher.Encrypt("secret", kKey.substr(0, 16) + "something else"), hex);
  EXPECT_NE(cipher.Encrypt("secret", kKey.substr(0, 15) + "#"), hex);
  EXPECT_NE(cipher.Decrypt(hex, "another key"), "secret" + Nuls(10));
}

TEST_F(TextCipher, RefusalsShowTheirMessageAndGiveEmptyText) {
  struct Case {
    std::string result;
    std::string message;
  };
  const Case cases[] = {
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
    SCOPED_TRACE(cases[i].message);
    EXPECT_EQ(cases[i].result, "");
    EXPECT_EQ(dialogue.boxes[i].text, cases[i].message);
    EXPECT_EQ(dialogue.boxes[i].title, "Veilbox");
    EXPECT_EQ(dialogue.boxes[i].icon, Icon::None);
    EXPECT_EQ(dialogue.boxes[i].buttons, Buttons::OK);
  }
}

TEST_F(TextCipher, WithoutADialogueResultsAreTheSame) {
  cEncrypt quiet;
  EXPECT_EQ(quiet.Encrypt("", kKey), "");
  EXPECT_EQ(quiet.Decrypt("zz", kKey), "");
  EXPECT_EQ(quiet.Encrypt("name", kKey), cipher.Encrypt("name", kKey));
}

TEST_F(TextCipher, DecryptSurvivesArbitraryText) {
  const std::string alphabet = "0123456789ABCDEFabcdef  \r\n\t/\\.xyz\x80\xC3\xA9\xF0\xFF";
  std::mt19937 rng(99);
  cEncrypt quiet;
  for (int i = 0; i < 2000; ++i) {
    std::string text(rng() % 120, ' ');
    for (char& c : text) c = alphabet[rng() % alphabet.size()];
    const std::string plain = quiet.Decrypt(text, kKey);
    EXPECT_EQ(plain.size() % 16, 0u) << text;
  }
}

TEST_F(TextCipher, DecryptFileNameAcceptsWhatEncryptMakesOfAName) {
  const std::string names[] = {"a",       "report.txt", "exactly16chars!!",   "seventeen chars!!",
                               ".hidden", "Grüße.doc",  std::string(100, 'n')};
  for (const std::string& name : names) {
    EXPECT_EQ(cipher.DecryptFileName(cipher.Encrypt(name, kKey), kKey), name);
  }
}

TEST_F(TextCipher, DecryptFileNameQuietlyRefusesEverythingElse) {
  const std::string good = cipher.Encrypt("seventeen chars!!", kKey);
  std::string lower = good;
  std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
  std::string packed = good;
  packed.erase(32, 2);
  const std::string not_names[] = {
      "",
      "readme.txt",
      "ABCDEF",
      lower,
      packed,
      good.substr(0, 32) + " " + good.substr(34),
      good + "  ",
      " " + good,
      good.substr(0, 30),
      std::string(32, 'G'),
      cipher.Encrypt(".", kKey),
      cipher.Encrypt("..", kKey),
      cipher.Encrypt("dir/name", kKey),
      cipher.Encrypt("dir\\name", kKey),
      cipher.Encrypt(std::string("nul\0inside", 10), kKey),
      cipher.Encrypt(Nuls(16), kKey),
      cipher.Encrypt("whole padding block" + Nuls(13 + 16), kKey),
  };
  for (const std::string& name : not_names) {
    EXPECT_EQ(cipher.DecryptFileName(name, kKey), std::nullopt) << name;
  }
  EXPECT_EQ(cipher.DecryptFileName(good, ""), std::nullopt);
  EXPECT_TRUE(dialogue.boxes.empty());
}

}  // namespace
}  // namespace veilbox
