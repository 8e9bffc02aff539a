// Files: cipher file lengths and contents around the chunk size, the key-text
// operations, and refusals. Every test works in its own temporary folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "AesReference.h"
#include "crypto/cEncrypt.h"
#include "diag/Failure.h"
#include "support/ScriptedDialogue.h"
#include "support/TempHome.h"

namespace veilbox {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using testing::ReadText;
using testing::WriteText;

const std::string kKey = "Veilbox-TestKeyText-0123";

class FileCipher : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return (folder / name).string(); }
  void Write(const std::string& name, const Bytes& data) const {
    WriteText(folder / name, std::string(data.begin(), data.end()));
  }
  Bytes Read(const std::string& name) const { return testing::ToBytes(ReadText(folder / name)); }

  testing::TempHome home;
  fs::path folder = home.MakeFolder("files");
  testing::ScriptedDialogue dialogue;
  cEncrypt cipher{dialogue};
  std::mt19937 rng{4242};
};

TEST_F(FileCipher, RoundTripsAroundTheChunkSize) {
  const Bytes key = testing::RandomBytes(rng, 16);
  cipher.SetCipherKey(key, 128);
  const std::size_t chunk = cEncrypt::kMaxFileChunkSize;
  const std::pair<std::size_t, std::size_t> sizes[] = {
      {0, 16}, {15, 16}, {16, 32}, {chunk, chunk + 16}, {chunk + 1, chunk + 16}};
  for (const auto& [n, m] : sizes) {
    SCOPED_TRACE(n);
    const Bytes plain = testing::RandomBytes(rng, n);
    Write("plain", plain);
    EXPECT_EQ(cipher.FileEncrypt(PathOf("plain"), PathOf("cipher")), 0);

    Bytes padded = plain;
    padded.resize(m, 0);
    padded.back() = static_cast<std::uint8_t>(n % 16);
    const Bytes cipher_file = Read("cipher");
    ASSERT_EQ(cipher_file.size(), m);
    EXPECT_TRUE(cipher_file == testing::ReferenceEncrypt(key, padded));

    EXPECT_EQ(cipher.FileDecrypt(PathOf("back"), PathOf("cipher")), 0);
    EXPECT_TRUE(Read("back") == plain);
  }
  EXPECT_TRUE(dialogue.boxes.empty());
}

TEST_F(FileCipher, CipherFileOfAWrongSizeIsRefusedBeforeAnythingIsCreated) {
  for (std::size_t size : {0, 15, 33}) {
    Write("cipher", Bytes(size, 1));
    EXPECT_EQ(cipher.FileDecrypt(PathOf("plain"), PathOf("cipher")), 1);
    EXPECT_FALSE(fs::exists(folder / "plain"));
  }
  ASSERT_EQ(dialogue.boxes.size(), 3u);
  EXPECT_EQ(dialogue.boxes[0].text,
            "File Size Error - ciphertext file not a multiple of block size");
  EXPECT_EQ(dialogue.boxes[0].title, "Veilbox");
  EXPECT_EQ(dialogue.boxes[0].buttons, Buttons::OK);
}

TEST_F(FileCipher, BadLengthByteKeepsTheWholeLastChunkWithAWarning) {
  const Bytes key = testing::RandomBytes(rng, 16);
  cipher.SetCipherKey(key, 128);
  Bytes plain = testing::RandomBytes(rng, 32);
  plain.back() = 0xF0;
  Write("cipher", testing::ReferenceEncrypt(key, plain));
  EXPECT_EQ(cipher.FileDecrypt(PathOf("plain"), PathOf("cipher")), 0);
  EXPECT_EQ(Read("plain"), plain);
  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_EQ(dialogue.boxes[0].text,
            "warning - incorrect length field in decrypted file.\r\nWrong key or keysize?");
}

TEST_F(FileCipher, KeyTextOperationsReplaceTheDestination) {
  const Bytes plain = testing::RandomBytes(rng, 1000);
  Write("plain", plain);
  Write("cipher", Bytes(5000, 9));  // an older, longer file is replaced whole
  cipher.EncryptFile(PathOf("plain"), PathOf("cipher"), kKey);
  EXPECT_EQ(Read("cipher").size(), 1008u);

  Write("back", Bytes(5000, 9));
  cipher.DecryptFile(PathOf("cipher"), PathOf("back"), kKey);
  EXPECT_EQ(Read("back"), plain);

  cipher.SetCipherKeyString(kKey, 128);
  cipher.FileEncrypt(PathOf("plain"), PathOf("again"));
  EXPECT_EQ(Read("again"), Read("cipher"));
  EXPECT_TRUE(dialogue.boxes.empty());
}

TEST_F(FileCipher, KeyTextOperationsWithoutKeyOrNamesDoNothing) {
  Write("plain", Bytes(10, 1));
  Write("cipher", Bytes(16, 2));
  cipher.EncryptFile(PathOf("plain"), PathOf("cipher"), "");
  cipher.DecryptFile(PathOf("cipher"), PathOf("plain"), "");
  cipher.EncryptFile("", PathOf("cipher"), kKey);
  cipher.DecryptFile(PathOf("cipher"), "", kKey);
  EXPECT_EQ(Read("plain"), Bytes(10, 1));
  EXPECT_EQ(Read("cipher"), Bytes(16, 2));
  ASSERT_EQ(dialogue.boxes.size(), 2u);
  EXPECT_EQ(dialogue.boxes[0].text, "No Password");
  EXPECT_EQ(dialogue.boxes[1].text, "No Password");
}

TEST_F(FileCipher, OneFileNamedTwiceIsRefusedAndKept) {
  Write("plain", Bytes(40, 3));
  fs::create_hard_link(folder / "plain", folder / "link");
  dialogue.Answers({Answer::Yes, Answer::Yes});
  cipher.EncryptFile(PathOf("plain"), PathOf("plain"), kKey);
  cipher.DecryptFile(PathOf("plain"), PathOf("link"), kKey);
  EXPECT_EQ(Read("plain"), Bytes(40, 3));
  ASSERT_EQ(dialogue.boxes.size(), 2u);
  EXPECT_NE(dialogue.boxes[0].text.find("Error Number: 75."), std::string::npos);
  EXPECT_THROW(cipher.FileEncrypt(PathOf("plain"), PathOf("link")), Failure);
  EXPECT_EQ(Read("plain"), Bytes(40, 3));
}

TEST_F(FileCipher, MissingSourceReachesTheErrorTrap) {
  dialogue.Answers({Answer::Yes});
  cipher.EncryptFile(PathOf("missing"), PathOf("cipher"), kKey);
  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_EQ(dialogue.boxes[0].title, "Error");
  EXPECT_NE(dialogue.boxes[0].text.find("Error Number: 53."), std::string::npos);
  EXPECT_FALSE(fs::exists(folder / "cipher"));
  try {
    cipher.FileDecrypt(PathOf("plain"), PathOf("missing"));
    ADD_FAILURE() << "no failure";
  } catch (const Failure& f) {
    EXPECT_EQ(f.Number(), err::kFileNotFound);
  }
}

TEST_F(FileCipher, RidFileDeletesReadOnlyFilesAndNothingElse) {
  Write("plain", Bytes(3, 1));
  fs::permissions(folder / "plain", fs::perms::owner_read);
  fs::create_directory(folder / "sub");
  EXPECT_TRUE(cEncrypt::FileExists(PathOf("plain")));
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
