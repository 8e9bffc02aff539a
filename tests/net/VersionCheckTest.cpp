// The version document's rules as a table, and one real fetch at start-up.
#include <gmock/gmock.h>

#include "NetTest.h"
#include "app/VersionCheck.h"

namespace veilbox::testing {
namespace {

using ::testing::HasSubstr;

using VersionCheckTest = NetTest;

// Only a newer first field asks; only the exact "must-download" ends the program. Only an
// http(s) address with a host and no blank is trusted; a newer version lacking a field raises.
TEST_F(VersionCheckTest, TheDocumentsRules) {
  const std::map<char, std::string> texts{{'O', "New version is available at: "},
                                          {'D', kDamagedDocumentText},
                                          {'S', "Subscript out of range"}};
  // The document, the answer, whether the program ends, the boxes shown (by the letters of
  // texts) and whether the address is opened.
  const std::tuple<std::string, Answer, bool, std::string, bool> rows[] = {
      {"1.05,https://example.org/get,no", Answer::Yes, false, "O", true},
      {"1.05,https://example.org/get,no", Answer::No, false, "O", false},
      {"1.05,https://example.org/get,must-download", Answer::Yes, true, "O", true},
      {"1.05,https://example.org/get,must-download", Answer::Cancel, true, "O", false},
      {"1.1,HTTP://example.org/get,no\r\n", Answer::No, false, "O", false},
      {"1.05,https://example.org/get,must-download\n", Answer::No, false, "O", false},
      {"1.04,addr,must-download", Answer::Yes, false, "", false},
      {"1.0,addr,must-download", Answer::Yes, false, "", false},
      {"1.040,addr,must-download", Answer::Yes, false, "", false},
      {"v1.05,addr,must-download", Answer::Yes, false, "", false},
      {"", Answer::Yes, false, "", false},
      {"1.05,ftp://example.org/get,must-download", Answer::Yes, false, "D", false},
      {"1.05,file:///etc/passwd,must-download", Answer::Yes, false, "D", false},
      {"1.05,example.org/get,must-download", Answer::Yes, false, "D", false},
      {"1.05,https:///etc/passwd,must-download", Answer::Yes, false, "D", false},
      {"1.05,https://example.org/a b,must-download", Answer::Yes, false, "D", false},
      {"1.05", Answer::Yes, false, "S", false},
      {"1.05,https://example.org/get", Answer::Yes, false, "OS", true},
  };
  for (const auto& [document, answer, ends, told, opened] : rows) {
    SCOPED_TRACE(document);
    dialogue.boxes.clear();
    dialogue.opened_addresses.clear();
    for (char box : told) {  // the damaged document is a notice, answered by OK
      if (box != 'D') dialogue.Answers({box == 'S' ? Answer::Yes : answer});
    }
    bool ended = false;
    Trap(session.reporter, [&] { ended = ActOnVersionDocument(session, document); });
    EXPECT_EQ(ended, ends);
    ASSERT_EQ(dialogue.boxes.size(), told.size());
    for (std::size_t i = 0; i < told.size(); ++i) {
      EXPECT_THAT(dialogue.boxes[i].text, HasSubstr(texts.at(told[i])));
    }
    EXPECT_EQ(dialogue.opened_addresses.size(), opened ? 1u : 0u);
  }
}

// Start-up fetches VEILBOX_UPDATE_URL's document (at most kMaxDocumentBytes)
// and offers a newer version before the agreement.
TEST_F(VersionCheckTest, StartUpFetchesTheDocumentFromTheAddressItIsGiven) {
  const std::string head = "1.05,https://example.org/get,";
  LocalServer too_long(Document(head + std::string(kMaxDocumentBytes - head.size() + 1, 'x')));
  SetEnvironment("VEILBOX_UPDATE_URL", too_long.Address("/v"));
  dialogue.Answers({Answer::No});
  EXPECT_EQ(session.Start(), StartUpResult::EndProgram);  // the agreement, declined
  ASSERT_EQ(dialogue.boxes.size(), 2u);
  EXPECT_EQ(dialogue.boxes[0].text, kDamagedDocumentText);
  EXPECT_EQ(dialogue.boxes[1].title, "Agreement");

  dialogue.boxes.clear();
  LocalServer server(Document(head + std::string(kMaxDocumentBytes - head.size(), 'x')));
  SetEnvironment("VEILBOX_UPDATE_URL", server.Address("/AppVersions/VeilboxVersion.txt"));
  dialogue.Answers({Answer::Yes, Answer::Yes});
  EXPECT_EQ(session.Start(), StartUpResult::Continue);
  ASSERT_EQ(dialogue.boxes.size(), 2u);
  EXPECT_EQ(Shown(dialogue.boxes[0]),
            std::make_tuple("New version is available at: https://example.org/get. Do you wish "
                            "to go there now?",
                            "New Version", Icon::Information, Buttons::YesNoCancel));
  EXPECT_EQ(dialogue.boxes[1].title, "Agreement");
  EXPECT_EQ(dialogue.opened_addresses, std::vector<std::string>{"https://example.org/get"});
  EXPECT_TRUE(server.Requests().at(0).starts_with("GET /AppVersions/VeilboxVersion.txt "));

  // An empty address fetches nothing; without one the build's address is used.
  SetEnvironment("VEILBOX_UPDATE_URL", "");
  EXPECT_EQ(session.Start(), StartUpResult::Continue);
  EXPECT_EQ(session.update_url, "");
  SetEnvironment("VEILBOX_UPDATE_URL", std::nullopt);
  EXPECT_EQ(session.Start(VersionCheck::Skip), StartUpResult::Continue);
  EXPECT_TRUE(session.update_url.ends_with("/AppVersions/VeilboxVersion.txt"))
      << session.update_url;
  EXPECT_EQ(server.Requests().size(), 1u);
}

}  // namespace
}  // namespace veilbox::testing
