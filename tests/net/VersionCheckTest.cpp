#include <gmock/gmock.h>

#include <chrono>

#include "NetTest.h"
#include "app/Session.h"
#include "app/Settings.h"
#include "app/VersionCheck.h"

namespace veilbox::testing {
namespace {

using ::testing::HasSubstr;

class VersionCheckTest : public NetTest {
 protected:
  // Start-up fetches the version document from here.
  void Publish(const std::string& address) { SetEnvironment("VEILBOX_UPDATE_URL", address); }
  void AgreementGiven() {
    SaveString(session, SettingsRoot::CurrentUser, "SOFTWARE\\TK", "VeilboxFirstTime", "No");
  }
};

TEST_F(VersionCheckTest, ANewerVersionIsOfferedBeforeTheAgreementAndAtEveryStartUp) {
  LocalServer server(Document("1.05,https://example.org/get,no"));
  Publish(server.Address("/AppVersions/VeilboxVersion.txt"));
  dialogue.Answers({Answer::Yes, Answer::Yes, Answer::No});
  EXPECT_EQ(session.Start(), StartUpResult::Continue);
  EXPECT_EQ(session.Start(), StartUpResult::Continue);

  ASSERT_EQ(dialogue.boxes.size(), 3u);
  EXPECT_EQ(Shown(dialogue.boxes[0]),
            std::make_tuple("New version is available at: https://example.org/get. Do you wish "
                            "to go there now?",
                            "New Version", Icon::Information, Buttons::YesNoCancel));
  EXPECT_EQ(dialogue.boxes[1].title, "Agreement");
  EXPECT_EQ(dialogue.boxes[2].title, "New Version");
  EXPECT_EQ(dialogue.opened_addresses, std::vector<std::string>{"https://example.org/get"});
  EXPECT_EQ(server.Requests().size(), 2u);
}

TEST_F(VersionCheckTest, MustDownloadEndsTheProgramWhateverTheAnswer) {
  LocalServer server(Document("1.05,http://addr,must-download"));
  Publish(server.Address("/v"));
  for (Answer answer : {Answer::Yes, Answer::No, Answer::Cancel}) {
    dialogue.Answers({answer});
    EXPECT_EQ(session.Start(), StartUpResult::EndProgram);
  }
  EXPECT_EQ(dialogue.boxes.size(), 3u) << "the agreement never comes";
  EXPECT_EQ(dialogue.opened_addresses, std::vector<std::string>{"http://addr"});
}

// Only a newer first field asks, and only the exact text "must-download"
// ends the program. A document that is too long, or offers an address other
// than http or https with a host and no blank, is trusted for nothing: no
// question, no address opened, and must-download does not end the program.
TEST_F(VersionCheckTest, OnlyANewerVersionAtAWebAddressIsOfferedAndADamagedDocumentIsReported) {
  AgreementGiven();
  enum Outcome { kNothing, kOffered, kDamaged };
  const std::string head = "1.05,https://example.org/get,";
  const std::vector<std::pair<std::string, Outcome>> documents = {
      {"1.04,addr,must-download", kNothing},
      {"1.0,addr,must-download", kNothing},
      {"1.040,addr,must-download", kNothing},
      {"", kNothing},
      {"v1.05,addr,must-download", kNothing},
      {"1.1,http://addr,no", kOffered},
      {"1.05,http://addr,must-download\n", kOffered},
      {"1.05,http://addr,must-download\r\n", kOffered},
      {"1.05,HTTP://example.org/get,no", kOffered},
      {head + std::string(kMaxDocumentBytes - head.size(), 'x'), kOffered},
      {head + std::string(kMaxDocumentBytes - head.size() + 1, 'x'), kDamaged},
      {"1.05,ftp://example.org/get,must-download", kDamaged},
      {"1.05,file:///etc/passwd,must-download", kDamaged},
      {"1.05,example.org/get,must-download", kDamaged},
      {"1.05,https:///etc/passwd,must-download", kDamaged},
      {"1.05,https://example.org/a b,must-download", kDamaged}};
  for (const auto& [document, outcome] : documents) {
    SCOPED_TRACE(document.substr(0, 50) + " (" + std::to_string(document.size()) + " bytes)");
    LocalServer server(Document(document));
    Publish(server.Address("/v"));
    dialogue.boxes.clear();
    dialogue.opened_addresses.clear();
    if (outcome == kOffered) dialogue.Answers({Answer::Yes});
    EXPECT_EQ(session.Start(), StartUpResult::Continue);
    ASSERT_EQ(dialogue.boxes.size(), outcome == kNothing ? 0u : 1u);
    EXPECT_EQ(dialogue.opened_addresses.size(), outcome == kOffered ? 1u : 0u);
    if (outcome != kNothing) {
      EXPECT_EQ(dialogue.boxes[0].text == kDamagedDocumentText, outcome == kDamaged);
    }
  }
}

TEST_F(VersionCheckTest, AMissingFieldEndsThatStartUpThroughItsTrap) {
  for (const std::string document : {"1.05", "1.05,http://addr"}) {
    LocalServer server(Document(document));
    Publish(server.Address("/v"));
    dialogue.boxes.clear();
    dialogue.Answers({Answer::Yes, Answer::Yes});  // the question when there is one; the report
    EXPECT_EQ(session.Start(), StartUpResult::Continue);
    ASSERT_FALSE(dialogue.boxes.empty());
    EXPECT_EQ(dialogue.boxes[0].title, document == "1.05" ? "Error" : "New Version");
    EXPECT_THAT(dialogue.boxes.back().text, HasSubstr("Subscript out of range"));
    EXPECT_NE(Setting("VeilboxFirstTime"), "No") << "the agreement is skipped in that run";
  }
  EXPECT_EQ(dialogue.opened_addresses, std::vector<std::string>{"http://addr"});
}

// A failed fetch is quiet in the client (see HttpClientTest); here start-up
// itself must not wait longer than the client's time-out.
TEST_F(VersionCheckTest, AServerThatNeverAnswersHoldsStartUpOnlyForTheTimeOut) {
  AgreementGiven();
  LocalServer silent("", 0, LocalServer::kSilent);
  Publish(silent.Address("/v"));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(session.Start(), StartUpResult::Continue);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  EXPECT_TRUE(dialogue.boxes.empty());
  EXPECT_EQ(silent.Requests().size(), 1u);
}

TEST_F(VersionCheckTest, TheAddressComesFromTheEnvironmentOrTheBuild) {
  AgreementGiven();
  LocalServer server(Document("9.99,addr,must-download"));
  Publish(server.Address("/v"));
  EXPECT_EQ(session.Start(VersionCheck::Skip), StartUpResult::Continue);
  EXPECT_EQ(session.update_url, server.Address("/v"));
  Publish("");
  EXPECT_EQ(session.Start(), StartUpResult::Continue);
  EXPECT_EQ(session.update_url, "");
  EXPECT_TRUE(server.Requests().empty());

  SetEnvironment("VEILBOX_UPDATE_URL", std::nullopt);
  EXPECT_EQ(session.Start(VersionCheck::Skip), StartUpResult::Continue);
  EXPECT_TRUE(session.update_url.ends_with("/AppVersions/VeilboxVersion.txt"))
      << session.update_url;
  EXPECT_TRUE(dialogue.boxes.empty());
}

}  // namespace
}  // namespace veilbox::testing
