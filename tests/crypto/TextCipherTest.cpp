// Text in, hex cipher text out and back: the form of encrypted file names and
// the stored password, its messages, and the quiet check of file names.
#include <gtest/gtest.h>

#include <algorithm>

#include "AesReference.h"
#include "app/ErrorReporter.h"
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
  ErrorReporter reporter{dialogue};
  cEncrypt cipher{reporter};
};

// Zero-padded ECB, one uppercase 32-digit group per block, groups joined by
// two spaces.
TEST_F(TextCipher, CipherTextIsZeroPaddedEcbInGroupsOfOneBlock) {
  const Bytes key(kKey.begin(), kKey.begin() + 16);
  for (std::size_t n : {1, 15, 16, 17, 32, 33}) {
    Bytes padded(n, 'q');
    padded.resize((n + 15) / 16 * 16, 0);
    EXPECT_EQ(cipher.Encrypt(std::string(n, 'q'), kKey),
              testing::BlockHex(testing::ReferenceEcb(key, padded)));
  }
  // Key bytes after the 16th do not count.
  EXPECT_EQ(cipher.Encrypt("secret", kKey.substr(0, 16) + std::string(40, 'x')),
            cipher.Encrypt("secret", kKey));
  // One cipher serves keys in turn, also after a key set by bytes.
  EXPECT_EQ(cipher.Encrypt("secret", "another key text"),
            cEncrypt().Encrypt("secret", "another key text"));
  cipher.Encrypt("secret", kKey);
  cipher.SetCipherKey(Bytes(16, 'z'), 128);
  EXPECT_EQ(cipher.Encrypt("secret", kKey), cEncrypt().Encrypt("secret", kKey));
  EXPECT_TRUE(dialogue.boxes.empty());
}

// Known answers under the key Veilbox names files with: a name hidden by one
// release must come back under the next.
TEST_F(TextCipher, NamesGiveTheKnownCipherText) {
  const std::string key = "Veilbox-k7Q2m9Zx4Lp8Wv3R";
  const std::pair<std::string, std::string> known[] = {
      {"a", "595945AEA2E45886014E409255225154"},
      {"notes.txt", "44D92244F1A9F846CAD1A49917E843E7"},
      {"my file.txt", "886E53BCA3B570A7E6D1CB0C799DADCA"},
      {"fifteen bytes..", "145DD1073A8275ED898E4D567A5E5B8A"},
      {"sixteen bytes...", "8420EA58BB944C23B9222D1074F9C916"},
      {"seventeen bytes..", "DB1FAE71B0A1FEB51595D5F60F59AF59  F44A45654A67BD45723C5B195035C219"},
      {"Ünïcødé €.pdf", "43EAE6DF57AB0455E6BDD33AE0AF5C43  A1DFA2A949EBB8D4A7A5765E715F7AA6"},
  };
  for (const auto& [name, hex] : known) {
    EXPECT_EQ(cipher.Encrypt(name, key), hex) << name;
    EXPECT_EQ(cipher.DecryptFileName(hex, key), name) << hex;
  }
  EXPECT_TRUE(dialogue.boxes.empty());
}

// Decrypt gives the text with its NUL padding; DecryptFileName gives the name.
TEST_F(TextCipher, DecryptAndDecryptFileNameGiveBackTheText) {
  for (const std::string text : {"a", "exactly16chars!!", "seventeen chars!!", ".hidden",
                                 "Grüße aus Köln.doc", "日本語のファイル名.txt"}) {
    const std::string hex = cipher.Encrypt(text, kKey);
    EXPECT_EQ(cipher.Decrypt(hex, kKey), text + Nuls((16 - text.size() % 16) % 16));
    EXPECT_EQ(cipher.DecryptFileName(hex, kKey), text);
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
  // Any text at all gives whole blocks or nothing.
  const std::string alphabet = "0123456789ABCDEFabcdef  \r\n\t/\\.xyz\x80\xC3\xA9\xF0\xFF";
  std::mt19937 rng(99);
  cEncrypt quiet;
  for (int i = 0; i < 2000; ++i) {
    std::string any(rng() % 120, ' ');
    for (char& c : any) c = alphabet[rng() % alphabet.size()];
    EXPECT_EQ(quiet.Decrypt(any, kKey).size() % 16, 0u) << any;
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

// Only the exact text Encrypt makes of a name that one folder can hold.
TEST_F(TextCipher, DecryptFileNameAcceptsOnlyWhatEncryptMakesOfAFileName) {
  const std::string good = cipher.Encrypt("seventeen chars!!", kKey);
  const std::string head = good.substr(0, 32), tail = good.substr(34);
  const std::string not_names[] = {
      "",
      "readme.txt",
      "ABCDEF",
      Lower(good),
      head + tail,         // no spaces
      head + " " + tail,   // one space
      head + "00" + tail,  // digits where the gap is
      good + "  ",
      " " + good,
      std::string(32, 'G'),
      cipher.Encrypt(".", kKey),
      cipher.Encrypt("..", kKey),
      cipher.Encrypt("dir/name", kKey),
      cipher.Encrypt(std::string("nul\0inside", 10), kKey),
      cipher.Encrypt(Nuls(16), kKey),  // 16 NULs of padding: more than Encrypt adds
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
