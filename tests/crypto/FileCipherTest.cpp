// Files: cipher file lengths and contents around the chunk size, the key-text
// operations, and refusals. Every test works in its own temporary folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "AesReference.h"
#include "app/ErrorReporter.h"
#include "crypto/cEncrypt.h"
#include "diag/Failure.h"
#include "support/ScriptedDialogue.h"
#include "support/TempHome.h"

namespace veilbox {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;

const std::string kKey = "Veilbox-TestKeyText-0123";

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
  std::mt19937 rng{4242};
};

// The key-text operations key with the text's first 16 bytes and write whole
// blocks, the last byte holding the length mod 16. The sizes shrink, so each
// run replaces a longer file.
TEST_F(FileCipher, RoundTripsAroundTheChunkSizeAndReplacesTheDestination) {
  const Bytes key(kKey.begin(), kKey.begin() + 16);
  const std::size_t chunk = cEncrypt::kMaxFileChunkSize;
  const std::size_t sizes[] = {chunk + 1, chunk, chunk - 1, 16, 15, 0};
  for (std::size_t n : sizes) {
    SCOPED_TRACE(n);
    const Bytes plain = testing::RandomBytes(rng, n);
    Write("plain", plain);
    cipher.EncryptFile(PathOf("plain"), PathOf("cipher"), kKey);
    Bytes padded = plain;
    padded.resize((n / 16 + 1) * 16, 0);
    padded.back() = static_cast<std::uint8_t>(n % 16);
    EXPECT_TRUE(Read("cipher") == testing::ReferenceEcb(key, padded));
    cipher.DecryptFile(PathOf("cipher"), PathOf("back"), kKey);
    EXPECT_TRUE(Read("back") == plain);
  }
  EXPECT_TRUE(dialogue.boxes.empty());
}

TEST_F(FileCipher, DecryptRefusesWrongSizesAndWarnsOfABadLengthByte) {
  for (std::size_t size : {0, 15, 33}) {
    Write("cipher", Bytes(size, 1));
    EXPECT_EQ(cipher.FileDecrypt(PathOf("plain"), PathOf("cipher")), 1);
    EXPECT_FALSE(fs::exists(folder / "plain"));
  }
  cipher.SetCipherKey(Bytes(16, 1), 128);
  Bytes plain(32, 2);
  plain.back() = 0xF0;
  Write("cipher", testing::ReferenceEcb(Bytes(16, 1), plain));
  EXPECT_EQ(cipher.FileDecrypt(PathOf("plain"), PathOf("cipher")), 0);
  EXPECT_EQ(Read("plain"), plain);  // every byte kept

  ASSERT_EQ(dialogue.boxes.size(), 4u);
  EXPECT_EQ(dialogue.boxes[0].text,
            "File Size Error - ciphertext file not a multiple of block size");
  EXPECT_EQ(dialogue.boxes[3].text,
            "warning - incorrect length field in decrypted file.\r\nWrong key or keysize?");
}

TEST_F(FileCipher, KeyTextOperationsLeaveFilesAloneWhenRefusing) {
  Write("plain", Bytes(40, 3));
  fs::create_hard_link(folder / "plain", folder / "link");
  dialogue.Answers({Answer::Yes, Answer::Yes, Answer::Yes});
  cipher.EncryptFile(PathOf("plain"), PathOf("cipher"), "");
  cipher.EncryptFile("", PathOf("plain"), kKey);
  cipher.DecryptFile(PathOf("plain"), "", kKey);
  cipher.EncryptFile(PathOf("plain"), PathOf("plain"), kKey);  // one file named twice
  cipher.DecryptFile(PathOf("plain"), PathOf("link"), kKey);
  cipher.EncryptFile(PathOf("missing"), PathOf("cipher"), kKey);
  EXPECT_EQ(Read("plain"), Bytes(40, 3));
  EXPECT_FALSE(fs::exists(folder / "cipher"));

  ASSERT_EQ(dialogue.boxes.size(), 4u);
  EXPECT_EQ(dialogue.boxes[0].text, "No Password");
  EXPECT_NE(dialogue.boxes[1].text.find("Error Number: 75."), std::string::npos);
  EXPECT_NE(dialogue.boxes[2].text.find("Error Number: 75."), std::string::npos);
  EXPECT_NE(dialogue.boxes[3].text.find("Error Number: 53."), std::string::npos);
  EXPECT_THROW(cipher.FileDecrypt(PathOf("back"), PathOf("missing")), Failure);
}

TEST_F(FileCipher, RidFileDeletesReadOnlyFilesAndNothingElse) {
  Write("plain", Bytes(3, 1));
  fs::permissions(folder / "plain", fs::perms::owner_read);
  fs::create_directory(folder / "sub");
  EXPECT_FALSE(cEncrypt::FileExists(PathOf("sub")));
  EXPECT_FALSE(cEncrypt::FileExists(""));
  cEncrypt::RidFile(PathOf("plain"));
  cEncrypt::RidFile(PathOf("sub"));
  cEncrypt::RidFile(PathOf("never"));
  EXPECT_FALSE(fs::exists(folder / "plain"));
  EXPECT_TRUE(fs::is_directory(folder / "sub"));
}

}  // namespace
}  // namespace veilbox
