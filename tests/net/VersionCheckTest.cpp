#include <gmock/gmock.h>

#include <chrono>

#include "LocalServer.h"
#include "NetFixture.h"
#include "app/Settings.h"
#include "app/StartUp.h"
#include "app/VersionCheck.h"

namespace veilbox::testing {
namespace {

using ::testing::HasSubstr;

std::string NewVersion(const std::string& address) {
  return "New version is available at: " + address + ". Do you wish to go there now?";
}

class VersionCheckTest : public NetTest {
 protected:
  // Start-up fetches the version document from here.
  void Publish(const std::string& address) { SetEnv("VEILBOX_UPDATE_URL", address); }
  void AgreementGiven() {
    SaveString(state, SettingsRoot::CurrentUser, "SOFTWARE\\TK", "VeilboxFirstTime", "No");
  }
  bool AgreementGivenNow() {
    return GetString(state, SettingsRoot::CurrentUser, "SOFTWARE\\TK", "VeilboxFirstTime") == "No";
  }
};

TEST_F(VersionCheckTest, ANewerVersionIsOfferedBeforeTheAgreementAndAtEveryStartUp) {
  LocalServer server(Document("1.05,https://example.org/get,no"));
  Publish(server.Address("/AppVersions/VeilboxVersion.txt"));
  dialogue.Answers({Answer::Yes, Answer::Yes, Answer::No});
  EXPECT_EQ(StartUp(state), StartUpResult::Continue);
  EXPECT_EQ(StartUp(state), StartUpResult::Continue);

  ASSERT_EQ(dialogue.boxes.size(), 3u);
  EXPECT_EQ(dialogue.boxes[0].text, NewVersion("https://example.org/get"));
  EXPECT_EQ(dialogue.boxes[0].title, "New Version");
  EXPECT_EQ(dialogue.boxes[0].icon, Icon::Information);
  EXPECT_EQ(dialogue.boxes[0].buttons, Buttons::YesNoCancel);
  EXPECT_EQ(dialogue.boxes[1].title, "Agreement");
  EXPECT_EQ(dialogue.boxes[2].title, "New Version");
  EXPECT_EQ(dialogue.opened_addresses, std::vector<std::string>{"https://example.org/get"});
  ASSERT_EQ(server.Requests().size(), 2u);
  EXPECT_TRUE(server.Requests()[0].starts_with("GET /AppVersions/VeilboxVersion.txt HTTP/1.0"));
}

TEST_F(VersionCheckTest, MustDownloadEndsTheProgramWhateverTheAnswer) {
  LocalServer server(Document("1.05,http://addr,must-download"));
  Publish(server.Address("/v"));
  for (Answer answer : {Answer::Yes, Answer::No, Answer::Cancel}) {
    dialogue.Answers({answer});
    EXPECT_EQ(StartUp(state), StartUpResult::EndProgram);
  }
  EXPECT_EQ(dialogue.boxes.size(), 3u) << "the agreement never comes";
  EXPECT_EQ(dialogue.opened_addresses, std::vector<std::string>{"http://addr"});
}

TEST_F(VersionCheckTest, OnlyANewerFirstFieldAsksAndOnlyTheExactTextEnds) {
  AgreementGiven();
  const std::vector<std::pair<std::string, bool>> documents = {
      {"1.04,addr,must-download", false},         {"1.0,addr,must-download", false},
      {"1.040,addr,must-download", false},        {"", false},
      {"v1.05,addr,must-download", false},        {"1.1,http://addr,no", true},
      {"1.05,http://addr,must-download\n", true}, {"1.05,http://addr,must-download\r\n", true}};
  for (const auto& [document, asks] : documents) {
    LocalServer server(Document(document));
    Publish(server.Address("/v"));
    dialogue.boxes.clear();
    if (asks) dialogue.Answers({Answer::No});
    EXPECT_EQ(StartUp(state), StartUpResult::Continue) << document;
    EXPECT_EQ(dialogue.boxes.size(), asks ? 1u : 0u) << document;
  }
}

TEST_F(VersionCheckTest, AMissingFieldEndsThatStartUpThroughItsTrap) {
  for (const std::string document : {"1.05", "1.05,http://addr"}) {
    LocalServer server(Document(document));
    Publish(server.Address("/v"));
    dialogue.boxes.clear();
    dialogue.Answers({Answer::Yes, Answer::Yes});  // the question when there is one; the report
    EXPECT_EQ(StartUp(state), StartUpResult::Continue);
    ASSERT_FALSE(dialogue.boxes.empty());
    EXPECT_EQ(dialogue.boxes[0].title, document == "1.05" ? "Error" : "New Version");
    EXPECT_THAT(dialogue.boxes.back().text, HasSubstr("Subscript out of range"));
    EXPECT_FALSE(AgreementGivenNow()) << "the agreement is skipped in that run";
  }
  EXPECT_EQ(dialogue.opened_addresses, std::vector<std::string>{"http://addr"});
}

// Such a document is trusted for nothing: no question, no address opened,
// and must-download does not end the program.
TEST_F(VersionCheckTest, AnAddressOtherThanHttpOrHttpsOrALongDocumentIsDamaged) {
  AgreementGiven();
  const std::string head = "1.05,https://example.org/get,";
  const std::vector<std::pair<std::string, bool>> documents = {
      {"1.05,HTTP://example.org/get,no", true},
      {head + std::string(kMaxDocumentBytes - head.size(), 'x'), true},
      {head + std::string(kMaxDocumentBytes - head.size() + 1, 'x'), false},
      {"1.05,ftp://example.org/get,must-download", false},
      {"1.05,file:///etc/passwd,must-download", false},
      {"1.05,example.org/get,must-download", false},
      {"1.05,https:///etc/passwd,must-download", false},
      {"1.05,https://example.org/a b,must-download", false}};
  for (const auto& [document, offered] : documents) {
    LocalServer server(Document(document));
    Publish(server.Address("/v"));
    dialogue.boxes.clear();
    dialogue.opened_addresses.clear();
    if (offered) dialogue.Answers({Answer::Yes});
    EXPECT_EQ(StartUp(state), StartUpResult::Continue) << document;
    ASSERT_EQ(dialogue.boxes.size(), 1u) << document;
    EXPECT_EQ(dialogue.boxes[0].text == kDamagedDocumentText, !offered) << document;
    EXPECT_EQ(dialogue.opened_addresses.size(), offered ? 1u : 0u) << document;
  }
}

TEST_F(VersionCheckTest, AnUnreachableUpdateHostCostsNoMessage) {
  AgreementGiven();
  RefusedPort refused;
  for (const std::string& address :
       {refused.Address("/v"), std::string("http://updates.veilbox.invalid/v")}) {
    Publish(address);
    EXPECT_EQ(StartUp(state), StartUpResult::Continue);
  }
  EXPECT_TRUE(dialogue.boxes.empty());
}

TEST_F(VersionCheckTest, AServerThatNeverAnswersHoldsStartUpOnlyForTheTimeOut) {
  AgreementGiven();
  LocalServer silent("", 0, false);
  Publish(silent.Address("/v"));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(StartUp(state), StartUpResult::Continue);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  EXPECT_TRUE(dialogue.boxes.empty());
  EXPECT_EQ(silent.Requests().size(), 1u);
}

TEST_F(VersionCheckTest, TheAddressComesFromTheEnvironmentOrTheBuild) {
  AgreementGiven();
  LocalServer server(Document("9.99,addr,must-download"));
  Publish(server.Address("/v"));
  EXPECT_EQ(StartUp(state, VersionCheck::Skip), StartUpResult::Continue);
  EXPECT_EQ(state.UpdateURL, server.Address("/v"));
  Publish("");
  EXPECT_EQ(StartUp(state), StartUpResult::Continue);
  EXPECT_EQ(state.UpdateURL, "");
  EXPECT_TRUE(server.Requests().empty());

  SetEnv("VEILBOX_UPDATE_URL", std::nullopt);
  EXPECT_EQ(StartUp(state, VersionCheck::Skip), StartUpResult::Continue);
  EXPECT_TRUE(state.UpdateURL.ends_with("/AppVersions/VeilboxVersion.txt")) << state.UpdateURL;
  EXPECT_TRUE(dialogue.boxes.empty());
}

}  // namespace
}  // namespace veilbox::testing
