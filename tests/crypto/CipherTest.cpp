// The cipher's block core, its hex text and file-name check, and its buffer and file layers.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "app/ErrorReporter.h"
#include "crypto/Hex.h"
#include "crypto/cEncrypt.h"
#include "diag/Failure.h"
#include "platform/PathSeparator.h"
#include "support/ScriptedDialogue.h"
#include "support/TempHome.h"

namespace veilbox {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using Bytes = cEncrypt::Bytes;

Bytes FromHex(const std::string& hex) {
  Bytes out;
  HexDisplayRev(hex, out);
  return out;
}
std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](char c) { return std::tolower(c); });
  return s;
}

const Bytes kPlain = FromHex("00112233445566778899aabbccddeeff");
// 32 bytes: each key size must use only its own leading part.
const Bytes kKeyBytes = FromHex("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f");
const std::string kNameKey = "Veilbox-k7Q2m9Zx4Lp8Wv3R";  // the key Veilbox names files with
const std::string kFileKey = "Veilbox-TestKeyText-0123";

class Cipher : public ::testing::Test {
 protected:
  testing::ScriptedDialogue dialogue;
  ErrorReporter reporter{dialogue};
  cEncrypt cipher{reporter};
};

// FIPS-197 appendix C at offsets; 100 keys each XORed with 1000 encryptions, as OpenSSL ends.
TEST_F(Cipher, BlockGivesTheKnownAnswersAtOffsetsAndAfterLongChains) {
  const std::tuple<int, const char*, const char*> known[] = {
      {128, "69c4e0d86a7b0430d8cdb78070b4c55a", "4b9ffbad7717d5eaf9d0b00efbadbfdd"},
      {192, "dda97ca4864cdfe06eaf70a0ec0d7191", "ca253d43e6b281b5c431dae252825ad9"},
      {256, "8ea2b7ca516745bfeafc49904b496089", "b0fef2cd6677f229a91c37b044c45cc2"}};
  for (const auto& [bits, fips, chained] : known) {
    cipher.SetCipherKey(kKeyBytes, bits);
    Bytes in(40, 0xEE), out(48, 0xEE), back(32, 0xEE);
    std::copy(kPlain.begin(), kPlain.end(), in.begin() + 8);
    cipher.BlockEncrypt(in, out, 8, 24);
    EXPECT_EQ(Bytes(out.begin() + 24, out.begin() + 40), FromHex(fips));
    EXPECT_EQ(out[23] + out[40], 2 * 0xEE);  // neighbours untouched
    cipher.BlockDecrypt(back, out, 16, 24);
    EXPECT_EQ(Bytes(back.begin() + 16, back.end()), kPlain);

    Bytes key(kKeyBytes.begin(), kKeyBytes.begin() + bits / 8), block = kPlain;
    for (int i = 0; i < 100; ++i) {
      cipher.SetCipherKey(key, bits);
      for (int j = 0; j < 1000; ++j) cipher.BlockEncrypt(block, block, 0, 0);
      for (std::size_t k = 0; k < key.size(); ++k) key[k] ^= block[k % 16];
    }
    EXPECT_EQ(block, FromHex(chained));
  }
}

TEST_F(Cipher, BlockRefusalsLeaveTheKeyAndTheBuffersAlone) {
  dialogue.Answers({Answer::Yes, Answer::Yes});
  cipher.SetCipherKey(kKeyBytes, 128);
  for (int bits : {160, 0, 64, -128, 512, 256}) {  // 256 with a pass too short
    try {
      cipher.SetCipherKey(Bytes(bits == 256 ? 16 : 32, 0xAB), bits);
      ADD_FAILURE() << bits << " accepted";
    } catch (const Failure& f) {
      EXPECT_EQ(f.Number(), bits == 256 ? err::kSubscriptOutOfRange : err::kIllegalKeyBits) << bits;
    }
  }
  Bytes out(16);
  cipher.BlockEncrypt(kPlain, out, 0, 0);
  EXPECT_EQ(out, FromHex("69c4e0d86a7b0430d8cdb78070b4c55a"));

  const Bytes in(20, 1);
  out.assign(20, 7);
  cipher.BlockEncrypt(in, out, 5, 0);                              // only 15 bytes behind offset 5
  cipher.BlockDecrypt(out, in, 0, static_cast<std::size_t>(-16));  // an offset that wraps
  EXPECT_EQ(out, Bytes(20, 7));
  ASSERT_EQ(dialogue.boxes.size(), 2u);
  EXPECT_NE(dialogue.boxes[0].text.find("Error Number: 9."), std::string::npos);
}

// A name hidden by one release comes back under the next, without the padding.
TEST_F(Cipher, NamesGiveTheKnownCipherText) {
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
    EXPECT_EQ(cipher.Encrypt(name, kNameKey), hex) << name;
    EXPECT_EQ(cipher.DecryptFileName(hex, kNameKey), name) << hex;
  }
  // Key bytes after the 16th do not count; one cipher serves keys in turn.
  const std::string longer = kNameKey.substr(0, 16) + std::string(40, 'x');
  EXPECT_EQ(cipher.Encrypt("a", longer), known[0].second);
  cipher.SetCipherKey(Bytes(16, 'z'), 128);
  EXPECT_EQ(cipher.Encrypt("a", longer), known[0].second);
  EXPECT_EQ(cipher.Encrypt("a", "another key"), cEncrypt().Encrypt("a", "another key"));
  EXPECT_TRUE(dialogue.boxes.empty());
}

// Decrypt reads hex digits of either case or as a wider character's low byte; skips the rest.
TEST_F(Cipher, DecryptIgnoresCaseSpacesLineBreaksAndOtherCharacters) {
  const std::string text = "a name of 20 letters", hex = cipher.Encrypt(text, kNameKey);
  const std::string wide = "\xC4"s + char(0x80 | (hex[0] & 0x3F)) + hex.substr(1);
  for (const std::string& variant :
       {hex, Lower(hex), hex.substr(0, 5) + "\r\n#g" + hex.substr(5), wide}) {
    EXPECT_EQ(cipher.Decrypt(variant, kNameKey), text + std::string(12, '\0')) << variant;
  }
}

TEST_F(Cipher, TextRefusalsShowTheirMessageAndGiveEmptyText) {
  const std::pair<std::string, std::string> cases[] = {
      {cipher.Encrypt("", kNameKey), "No Plaintext"},
      {cipher.Encrypt("name", ""), "No Password"},
      {cipher.Decrypt("", kNameKey), "No Ciphertext"},
      {cipher.Decrypt("A", kNameKey), "Text not Hex data"},
      {cipher.Decrypt(std::string(30, '7'), kNameKey),
       "ciphertext size not a multiple of block size"},
  };
  ASSERT_EQ(dialogue.boxes.size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const auto& box = dialogue.boxes[i];
    EXPECT_EQ(std::tie(cases[i].first, box.text, box.title, box.icon, box.buttons),
              std::make_tuple("", cases[i].second, "Veilbox", Icon::None, Buttons::OK));
  }
}

// Only the exact text Encrypt makes of a name that one folder can hold.
TEST_F(Cipher, DecryptFileNameAcceptsOnlyWhatEncryptMakesOfAFileName) {
  const std::string good = cipher.Encrypt("seventeen chars!!", kNameKey);
  const std::string head = good.substr(0, 32), tail = good.substr(34);
  std::vector<std::string> not_names{
      "",          "readme.txt",      "ABCDEF",           std::string(32, 'G'), Lower(good),
      head + tail, head + " " + tail, head + "00" + tail, good + "  ",          " " + good};
  for (const std::string& text : {"."s, ".."s, "dir/name"s, "nul\0inside"s, std::string(16, '\0'),
                                  "a whole block of padding" + std::string(24, '\0')}) {
    not_names.push_back(cipher.Encrypt(text, kNameKey));
  }
  for (const std::string& name : not_names)
    EXPECT_EQ(cipher.DecryptFileName(name, kNameKey), std::nullopt) << name;
  EXPECT_EQ(cipher.DecryptFileName(good, ""), std::nullopt);
  // A backslash is part of a Linux file name and separates folders on Windows.
  EXPECT_EQ(cipher.DecryptFileName(cipher.Encrypt("dir\\name", kNameKey), kNameKey),
            kPathSeparator == '/' ? std::optional<std::string>("dir\\name") : std::nullopt);
  EXPECT_TRUE(dialogue.boxes.empty());
}

// appendsize 0 pads with zeros; 1 (a cipher file) adds 1 to 16 bytes ending in the length mod 16.
// A size no multiple of 16 decrypts nothing, and a file of such a size makes no file.
TEST_F(Cipher, BuffersAndFilesRoundTripAroundABlockAndTheChunkSizeAndRefuseBadSizes) {
  testing::TempHome home;
  const fs::path folder = home.MakeFolder("files");
  const auto path = [&](const char* name) { return (folder / name).string(); };
  const auto read = [&](const char* name) {
    const std::string text = testing::ReadText(folder / name);
    return Bytes(text.begin(), text.end());
  };
  const std::size_t chunk = cEncrypt::kMaxFileChunkSize;
  cEncrypt block;  // enciphers block by block under the first 16 bytes of the key
  block.SetCipherKey(Bytes(kFileKey.begin(), kFileKey.begin() + 16), 128);
  cipher.SetCipherKeyString(kFileKey, 128);
  for (std::size_t n : {chunk + 1, chunk, 17ul, 16ul, 15ul, 0ul}) {
    Bytes plain(n), zeros, length, buffer, back;
    for (std::size_t i = 0; i < n; ++i) plain[i] = static_cast<std::uint8_t>(i * 7 + n);
    zeros = length = plain;
    zeros.resize((n + 15) / 16 * 16, 0);
    length.resize((n / 16 + 1) * 16, 0);
    length.back() = static_cast<std::uint8_t>(n % 16);
    for (auto [appendsize, padded] : {std::pair(0, zeros), std::pair(1, length)}) {
      buffer = plain;
      EXPECT_EQ(cipher.ArrayEncrypt(buffer, buffer, appendsize), 0);
      for (std::size_t i = 0; i < padded.size(); i += 16) block.BlockEncrypt(padded, padded, i, i);
      EXPECT_TRUE(buffer == padded) << appendsize;
      EXPECT_EQ(cipher.ArrayDecrypt(back, buffer, appendsize), 0);
      EXPECT_TRUE(back == (appendsize == 0 ? zeros : plain)) << appendsize;
    }
    testing::WriteText(folder / "plain", std::string(plain.begin(), plain.end()));
    cipher.EncryptFile(path("plain"), path("cipher"), kFileKey);
    EXPECT_TRUE(read("cipher") == buffer);
    cipher.DecryptFile(path("cipher"), path("back"), kFileKey);
    EXPECT_TRUE(read("back") == plain);
  }

  Bytes out = {1, 2, 3};
  EXPECT_EQ(cipher.ArrayDecrypt(out, Bytes(17, 0), 0), -1);
  EXPECT_EQ(out, (Bytes{1, 2, 3}));
  testing::WriteText(folder / "cipher", std::string(15, 1));
  EXPECT_EQ(cipher.FileDecrypt(path("none"), path("cipher")), 1);
  EXPECT_FALSE(fs::exists(folder / "none"));
  EXPECT_EQ(dialogue.boxes.size(), 2u);
}

}  // namespace
}  // namespace veilbox
