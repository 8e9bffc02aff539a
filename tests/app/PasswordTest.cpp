// The stored password: the hash, the check, the old cipher-text form, damaged values.
#include <gtest/gtest.h>

#include "app/Constants.h"
#include "app/HashedPassword.h"
#include "app/Password.h"
#include "crypto/cEncrypt.h"
#include "support/HomeTest.h"

namespace veilbox::testing {
namespace {

class PasswordTest : public HomeTest {
 protected:
  PasswordTest() { session.key_text = std::string(kAppname) + kKeyText; }
  std::string Stored() { return Setting("VeilboxPassword"); }
  void Store(const std::string& value) { SetSetting("VeilboxPassword", value); }
};

// The first 32 bytes of an RFC 7914 PBKDF2-HMAC-SHA256 vector (OpenSSL and Windows CNG).
TEST(HashedPassword, GivesTheKnownAnswer) {
  EXPECT_EQ(HashedPasswordText("Password", {'N', 'a', 'C', 'l'}, 80000),
            "pbkdf2-sha256$80000$4E61436C$"
            "4DDCD8F60B98BE21830CEE5EF22701F9641A4418D04C0414AEFF08876B34AB56");
}

// The comparisons run on one iteration: a full-strength hash is slow under Wine.
TEST_F(PasswordTest, IsStoredAsASaltedHashAndComparedWhole) {
  ASSERT_TRUE(session.CreatePassword("Secret pass"));
  const std::string first = Stored();
  EXPECT_EQ(session.CheckPassword("Secret pass"), PasswordCheck::Right);
  ASSERT_TRUE(session.CreatePassword("Secret pass"));
  EXPECT_NE(Stored(), first) << "every password gets its own salt";

  Store(HashedPasswordText("Secret pass", std::vector<std::uint8_t>(16, 7), 1));
  for (const std::string& typed :
       {std::string("secret pass"), std::string("Secret pass "), std::string("Secret pass\0x", 13)})
    EXPECT_EQ(session.CheckPassword(typed), PasswordCheck::Wrong) << typed;
  EXPECT_TRUE(session.LogIn("Secret pass"));
  EXPECT_FALSE(session.LogIn("secret pass"));
  Store("damaged");
  EXPECT_FALSE(session.LogIn("Secret pass"));
  ASSERT_EQ(dialogue.boxes.size(), 2u);
  EXPECT_EQ(std::tie(dialogue.boxes[0].text, dialogue.boxes[1].text),
            std::tuple("Incorrect password, please try again.", kDamagedPasswordText));
}

TEST_F(PasswordTest, ControlCharactersAreRefusedAtCreation) {
  const std::pair<std::string, const char*> cases[] = {
      {std::string("ab\0cd", 5), kControlCharacterText},
      {"next\xC2\x85line", kControlCharacterText},  // U+0085
      {"Caf\xC3\xA9 \xC2\xA0!", nullptr}};          // é and a no-break space
  for (const auto& [typed, refusal] : cases) {
    EXPECT_EQ(NewPasswordRefusal(typed),
              refusal ? std::optional<std::string>(refusal) : std::nullopt);
    EXPECT_FALSE(refusal && session.CreatePassword(typed));
  }
  EXPECT_EQ(Stored(), "");
}

TEST_F(PasswordTest, TheOldCipherTextOpensOnceAndIsReplacedByTheHash) {
  const std::string whole("ab\0cd", 5);  // an older Veilbox stored what it was given
  const std::pair<std::string, std::string> stored[] = {
      {"Open Sesame", "83D2DD1C0E884B33D5CB90C43B9F0CF3"},  // as an older release wrote it
      {whole, cEncrypt().Encrypt(whole, session.key_text)}};
  for (const auto& [password, old] : stored) {
    Store(old);
    EXPECT_EQ(session.CheckPassword("open sesame"), PasswordCheck::Wrong);
    EXPECT_EQ(session.CheckPassword("ab"), PasswordCheck::Wrong);
    EXPECT_EQ(Stored(), old);
    EXPECT_EQ(session.CheckPassword(password), PasswordCheck::Right);
    EXPECT_TRUE(Stored().starts_with("pbkdf2-sha256$600000$")) << Stored();
  }
  EXPECT_EQ(session.CheckPassword(whole), PasswordCheck::Right);
}

TEST_F(PasswordTest, AValueInNeitherFormIsDamaged) {
  const std::string hash = HashedPasswordText("pw", std::vector<std::uint8_t>(16, 0xAA), 1);
  const std::string salt_and_hash = hash.substr(hash.find("$AA"));  // "$AA...A$<hash>"
  for (const std::string& value :
       {std::string("not a password"), std::string("0123456789ABCDEF"),
        "pbkdf2-sha1$1" + salt_and_hash, "pbkdf2-sha256$01" + salt_and_hash,
        "pbkdf2-sha256$10000001" + salt_and_hash, "pbkdf2-sha256$1$" + salt_and_hash.substr(3),
        "pbkdf2-sha256$1$aa" + salt_and_hash.substr(3), hash + "$"}) {
    Store(value);
    EXPECT_EQ(session.CheckPassword("pw"), PasswordCheck::Damaged) << value;
    EXPECT_EQ(Stored(), value);
  }
  EXPECT_TRUE(dialogue.boxes.empty());
}

}  // namespace
}  // namespace veilbox::testing
