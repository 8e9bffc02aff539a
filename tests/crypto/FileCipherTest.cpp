// The cipher's buffer and file layers in a temporary folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/ErrorReporter.h"
#include "crypto/cEncrypt.h"
#include "diag/Failure.h"
#include "support/ScriptedDialogue.h"
#include "support/TempHome.h"

namespace veilbox {
namespace {

namespace fs = std::filesystem;
using Bytes = cEncrypt::Bytes;

const std::string kKey = "Veilbox-TestKeyText-0123";

// data enciphered block by block under the first 16 bytes of kKey.
Bytes Blocks(Bytes data) {
  cEncrypt block;
  block.SetCipherKey(Bytes(kKey.begin(), kKey.begin() + 16), 128);
  for (std::size_t i = 0; i < data.size(); i += 16) block.BlockEncrypt(data, data, i, i);
  return data;
}

class FileCipher : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return (folder / name).string(); }
  void Write(const std::string& name, const Bytes& data) const {
    testing::WriteText(folder / name, std::string(data.begin(), data.end()));
  }
  Bytes Read(const std::string& name) const {
    const std::string text = testing::ReadText(folder / name);
    return Bytes(text.begin(), text.end());
  }

  testing::TempHome home;
  fs::path folder = home.MakeFolder("files");
  testing::ScriptedDialogue dialogue;
  ErrorReporter reporter{dialogue};
  cEncrypt cipher{reporter};
};

// appendsize 0 pads with zeros; 1 (a cipher file) adds 1 to 16 bytes ending in the length mod 16.
TEST_F(FileCipher, BuffersAndFilesAroundABlockAndTheChunkSize) {
  const std::size_t chunk = cEncrypt::kMaxFileChunkSize;
  const std::size_t sizes[] = {chunk + 1, chunk, chunk - 1, 33, 32, 16, 15, 1, 0};
  cipher.SetCipherKeyString(kKey, 128);
  for (std::size_t n : sizes) {
    SCOPED_TRACE(n);
    Bytes plain(n), zeros, length, buffer, back;
    for (std::size_t i = 0; i < n; ++i) plain[i] = static_cast<std::uint8_t>(i * 7 + n);
    zeros = length = plain;
    zeros.resize((n + 15) / 16 * 16, 0);
    length.resize((n / 16 + 1) * 16, 0);
    length.back() = static_cast<std::uint8_t>(n % 16);
    for (const auto& [appendsize, padded] : {std::pair(0, zeros), std::pair(1, length)}) {
      buffer = plain;
      EXPECT_EQ(cipher.ArrayEncrypt(buffer, buffer, appendsize), 0);
      EXPECT_TRUE(buffer == Blocks(padded)) << appendsize;
      EXPECT_EQ(cipher.ArrayDecrypt(back, buffer, appendsize), 0);
      EXPECT_TRUE(back == (appendsize == 0 ? padded : plain)) << appendsize;
    }
    Write("plain", plain);
    cipher.EncryptFile(PathOf("plain"), PathOf("cipher"), kKey);
    EXPECT_TRUE(Read("cipher") == buffer);
    cipher.DecryptFile(PathOf("cipher"), PathOf("back"), kKey);
    EXPECT_TRUE(Read("back") == plain);
  }
  EXPECT_TRUE(dialogue.boxes.empty());
}

// A size no multiple of 16 decrypts nothing; a bad length byte keeps every byte.
TEST_F(FileCipher, DecryptRefusesWrongSizesAndWarnsOfABadLengthByte) {
  cipher.SetCipherKey(Bytes(16, 1), 128);
  Bytes plain(32, 2), enciphered, out = {1, 2, 3};
  plain.back() = 0xF0;  // not a length
  cipher.ArrayEncrypt(plain, enciphered, 0);
  EXPECT_EQ(cipher.ArrayDecrypt(out, Bytes(17, 0), 0), -1);
  EXPECT_EQ(out, (Bytes{1, 2, 3}));
  EXPECT_EQ(cipher.ArrayDecrypt(out, enciphered, 1), 1);
  EXPECT_EQ(out, plain);
  for (std::size_t size : {0, 15, 33}) {
    Write("cipher", Bytes(size, 1));
    EXPECT_EQ(cipher.FileDecrypt(PathOf("plain"), PathOf("cipher")), 1);
    EXPECT_FALSE(fs::exists(folder / "plain"));
  }
  Write("cipher", enciphered);
  EXPECT_EQ(cipher.FileDecrypt(PathOf("plain"), PathOf("cipher")), 0);
  EXPECT_EQ(Read("plain"), plain);

  ASSERT_EQ(dialogue.boxes.size(), 6u);
  EXPECT_EQ(dialogue.boxes[1].text, "warning - incorrect length field");
  EXPECT_EQ(dialogue.boxes[2].text,
            "File Size Error - ciphertext file not a multiple of block size");
  EXPECT_EQ(dialogue.boxes[5].text,
            "warning - incorrect length field in decrypted file.\r\nWrong key or keysize?");
}

TEST_F(FileCipher, KeyTextOperationsLeaveFilesAloneWhenRefusing) {
  Write("plain", Bytes(48, 3));
  fs::create_hard_link(folder / "plain", folder / "link");
  fs::create_directory(folder / "sub");
  dialogue.Answers({Answer::Yes, Answer::Yes, Answer::Yes, Answer::Yes});
  cipher.EncryptFile(PathOf("plain"), PathOf("cipher"), "");
  cipher.EncryptFile("", PathOf("plain"), kKey);
  cipher.DecryptFile(PathOf("plain"), "", kKey);
  cipher.EncryptFile(PathOf("plain"), PathOf("plain"), kKey);  // one file named twice
  cipher.DecryptFile(PathOf("plain"), PathOf("link"), kKey);
  cipher.EncryptFile(PathOf("missing"), PathOf("cipher"), kKey);
  cipher.EncryptFile(PathOf("plain"), PathOf("sub"), kKey);  // a folder is no file to replace
  for (auto op : {&cEncrypt::FileEncrypt, &cEncrypt::FileDecrypt}) {
    EXPECT_THROW((cipher.*op)(PathOf("link"), PathOf("plain")), Failure);
  }
  // A write that fails only as the file is closed (a full disk) fails too.
  EXPECT_THROW(cipher.FileEncrypt(PathOf("plain"), "/dev/full"), Failure);
  EXPECT_EQ(Read("plain"), Bytes(48, 3));
  EXPECT_FALSE(fs::exists(folder / "cipher"));
  EXPECT_TRUE(fs::is_directory(folder / "sub"));

  ASSERT_EQ(dialogue.boxes.size(), 5u);
  EXPECT_EQ(dialogue.boxes[0].text, "No Password");
  EXPECT_NE(dialogue.boxes[1].text.find("Error Number: 75."), std::string::npos);
  EXPECT_NE(dialogue.boxes[2].text.find("Error Number: 75."), std::string::npos);
  EXPECT_NE(dialogue.boxes[3].text.find("Error Number: 53."), std::string::npos);
  EXPECT_THROW(cipher.FileDecrypt(PathOf("back"), PathOf("missing")), Failure);
  // Writing onto a link replaces the link and leaves what it leads to alone.
  fs::create_symlink(folder / "sub", folder / "onto");
  cipher.EncryptFile(PathOf("plain"), PathOf("onto"), kKey);
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(folder / "onto")));
  EXPECT_TRUE(fs::is_empty(folder / "sub"));
}

}  // namespace
}  // namespace veilbox
