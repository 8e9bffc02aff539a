// Text to hex cipher text and back, its messages, and the quiet file-name check.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/ErrorReporter.h"
#include "crypto/cEncrypt.h"
#include "platform/PathSeparator.h"
#include "support/ScriptedDialogue.h"

namespace veilbox {
namespace {

using namespace std::string_literals;

const std::string kKey = "Veilbox-k7Q2m9Zx4Lp8Wv3R";  // the key Veilbox names files with

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

// A name hidden by one release comes back under the next; DecryptFileName drops the padding.
TEST_F(TextCipher, NamesGiveTheKnownCipherText) {
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
    EXPECT_EQ(cipher.Encrypt(name, kKey), hex) << name;
    EXPECT_EQ(cipher.DecryptFileName(hex, kKey), name) << hex;
    EXPECT_EQ(cipher.Decrypt(hex, kKey), name + std::string((16 - name.size() % 16) % 16, '\0'))
        << hex;
  }
  // Key bytes after the 16th do not count; one cipher serves keys in turn.
  const std::string longer = kKey.substr(0, 16) + std::string(40, 'x');
  EXPECT_EQ(cipher.Encrypt("a", longer), known[0].second);
  cipher.SetCipherKey(cEncrypt::Bytes(16, 'z'), 128);
  EXPECT_EQ(cipher.Encrypt("a", longer), known[0].second);
  EXPECT_EQ(cipher.Encrypt("a", "another key"), cEncrypt().Encrypt("a", "another key"));
  EXPECT_TRUE(dialogue.boxes.empty());
}

// Decrypt reads hex digits of either case, skips the rest, and U+0141 as "A" (its low byte).
TEST_F(TextCipher, DecryptIgnoresCaseSpacesLineBreaksAndOtherCharacters) {
  const std::string text = "a name of some thirty-eight characters";
  const std::string hex = cipher.Encrypt(text, kKey);
  std::string packed, broken, wide;
  std::copy_if(hex.begin(), hex.end(), std::back_inserter(packed), [](char c) { return c != ' '; });
  for (std::size_t i = 0; i < packed.size(); ++i) {
    broken += packed[i] + std::string(i % 7 ? "" : "\r\n#g");
    // U+0130 to U+0146 in UTF-8: the digit as the low byte of a wider character.
    const unsigned wide_digit = 0x100u + static_cast<unsigned char>(packed[i]);
    wide +=
        {static_cast<char>(0xC0 | wide_digit >> 6), static_cast<char>(0x80 | (wide_digit & 0x3F))};
  }
  for (const std::string& variant : {Lower(hex), packed, broken, wide, packed + "F"}) {
    EXPECT_EQ(cipher.Decrypt(variant, kKey), text + std::string(10, '\0')) << variant;
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
    const auto& box = dialogue.boxes[i];
    EXPECT_EQ(std::tie(cases[i].first, box.text, box.title, box.icon, box.buttons),
              std::make_tuple("", cases[i].second, "Veilbox", Icon::None, Buttons::OK));
  }
}

// Only the exact text Encrypt makes of a name that one folder can hold.
TEST_F(TextCipher, DecryptFileNameAcceptsOnlyWhatEncryptMakesOfAFileName) {
  const std::string good = cipher.Encrypt("seventeen chars!!", kKey);
  const std::string head = good.substr(0, 32), tail = good.substr(34);
  std::vector<std::string> not_names{
      "",          "readme.txt",      "ABCDEF",           std::string(32, 'G'), Lower(good),
      head + tail, head + " " + tail, head + "00" + tail, good + "  ",          " " + good};
  for (const std::string& text : {"."s, ".."s, "dir/name"s, "nul\0inside"s, std::string(16, '\0'),
                                  "a whole block of padding" + std::string(24, '\0')}) {
    not_names.push_back(cipher.Encrypt(text, kKey));
  }
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
