#include <gmock/gmock.h>

#include <chrono>

#include "NetTest.h"
#include "net/clsHTTP.h"

namespace veilbox::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::IsSupersetOf;
using ::testing::Not;

class HttpClientTest : public NetTest {
 protected:
  clsHTTP http{session.reporter};
  std::string text = "untouched";
};

TEST_F(HttpClientTest, SendsAnUncachedHttp10GetWithTheNewLinesOfTheAdditionalHeader) {
  LocalServer server(Document("1.05,addr,no"));
  ASSERT_TRUE(http.GetFile(server.Address("/AppVersions/VeilboxVersion.txt"), text,
                           "X-Probe: 1\r\nPragma: from-caller\r\nX-Probe: 2"));
  EXPECT_EQ(text, "1.05,addr,no");
  EXPECT_EQ(http.LastError(), "");
  ASSERT_EQ(server.Requests().size(), 1u);
  const std::string request = server.Requests()[0];
  EXPECT_TRUE(request.starts_with("GET /AppVersions/VeilboxVersion.txt HTTP/1.0\r\n")) << request;
  for (const char* line : {"Pragma: no-cache", "Cache-Control: no-cache", "X-Probe: 1"}) {
    EXPECT_THAT(request, HasSubstr(std::string("\r\n") + line + "\r\n"));
  }
  EXPECT_THAT(request, Not(HasSubstr("from-caller")));
  EXPECT_THAT(request, Not(HasSubstr("X-Probe: 2")));
  EXPECT_EQ(http.sRequestHeaders, request);

  // Without "http://" and without a path: the empty path, which HTTP sends as "/".
  ASSERT_TRUE(http.Connect(server.Address("").substr(7)));
  EXPECT_TRUE(server.Requests().back().starts_with("GET / HTTP/1.0\r\n"));
}

TEST_F(HttpClientTest, ResponseValuesAreTrimmedAndFollowTheLastResponse) {
  LocalServer dated(Response("200 OK",
                             "Content-Length: 5\r\nLast-Modified:   Tue, 01 Apr 2025 10:00:00 GMT "
                             " \r\nforwarded: for=192.0.2.1\r\n",
                             "12345"));
  LocalServer plain(Response("200 OK", "", "x"));
  ASSERT_TRUE(http.Connect(dated.Address("/")));
  EXPECT_EQ(http.ContentLength(), 5);
  EXPECT_EQ(http.LastModified(), "Tue, 01 Apr 2025 10:00:00 GMT");
  EXPECT_EQ(http.Forwarded(), "for=192.0.2.1");
  ASSERT_TRUE(http.Connect(plain.Address("/")));
  EXPECT_EQ(http.ContentLength(), 0);
  EXPECT_EQ(http.LastModified(), "");
  EXPECT_EQ(http.Forwarded(), "");

  // A length beyond 32 bits is a failure of Connect, handed to the reporter.
  LocalServer huge(Response("200 OK", "Content-Length: 3000000000\r\n", ""));
  dialogue.Answers({Answer::Yes});
  EXPECT_FALSE(http.Connect(huge.Address("/")));
  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_THAT(dialogue.boxes[0].text, HasSubstr("Error Description: Overflow."));
}

TEST_F(HttpClientTest, TheBodyArrivesWholeWhateverItsPiecesAndStatus) {
  std::string body;
  for (int i = 0; i < 5000; ++i) body += static_cast<char>('a' + i % 26);
  LocalServer pieces(Document(body), 1000);
  std::vector<std::size_t> seen_at_pumps;
  dialogue.on_show = [&] { seen_at_pumps.push_back(text.size()); };
  ASSERT_TRUE(http.GetFile(pieces.Address("/big"), text));
  EXPECT_EQ(text, body);
  EXPECT_THAT(seen_at_pumps, IsSupersetOf({2048u, 4096u, 5000u})) << "events run after each read";
  dialogue.on_show = nullptr;

  LocalServer missing(Response("404 Not Found", "", "<h1>Not Found</h1>"));
  EXPECT_TRUE(http.GetFile(missing.Address("/none"), text));
  EXPECT_EQ(text, "<h1>Not Found</h1>");

  // A transfer that breaks off ends the document where it stopped.
  LocalServer cut(Response("200 OK", "Content-Length: 100\r\n", "1.05,par"));
  EXPECT_TRUE(http.GetFile(cut.Address("/"), text));
  EXPECT_EQ(text, "1.05,par");
  EXPECT_TRUE(dialogue.boxes.empty());
}

TEST_F(HttpClientTest, UnreachableServersFailQuietlyWithinTheTimeOut) {
  LocalServer refused("", 0, LocalServer::kRefuses), silent("", 0, LocalServer::kSilent);
  for (const std::string& address :
       {refused.Address("/v.txt"), std::string("http://updates.veilbox.invalid/v.txt"),
        silent.Address("/v.txt")}) {
    http.SetTimeouts(std::chrono::milliseconds(500), std::chrono::milliseconds(1000));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(http.GetFile(address, text)) << address;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_EQ(http.LastError(), "HttpSendRequest failed") << address;
  }
  EXPECT_EQ(silent.Requests().size(), 1u);
  EXPECT_FALSE(http.Connect("http:///AppVersions/VeilboxVersion.txt"));
  EXPECT_EQ(http.LastError(), "InternetConnect failed");
  EXPECT_EQ(text, "untouched");
  EXPECT_TRUE(dialogue.boxes.empty());
}

// GetFileToDisk replaces the file with the raw body, or leaves no file.
TEST_F(HttpClientTest, GetFileToDiskWritesTheWholeBodyOrNothing) {
  const std::string body("\x00\xff\r\nbytes", 9);
  const std::string file = (home.MakeFolder("downloads") / "doc.bin").string();
  const std::string unwritable = (home.Root() / "no-such-folder" / "doc.bin").string();
  const std::string cannot = "Could not retrieve latest version";
  struct Row {
    std::string reply, target;
    bool ok;
    std::optional<std::string> left;  // what the target holds afterwards
    std::string told, last_error;
  } rows[] = {
      {Document(body), file, true, body, "", ""},
      {Document(body), unwritable, false, std::nullopt, cannot, ""},
      {Response("200 OK", "Content-Length: 100\r\n", "only part"), file, false, std::nullopt, "",
       clsHTTP::kCutShort},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.reply);
    WriteText(file, "an older and much longer file");
    dialogue.boxes.clear();
    LocalServer server(row.reply);
    EXPECT_EQ(http.GetFileToDisk(server.Address("/doc"), row.target), row.ok);
    EXPECT_EQ(http.FileExist(row.target) ? std::optional(ReadText(row.target)) : std::nullopt,
              row.left);
    EXPECT_EQ(http.LastError(), row.last_error);
    ASSERT_EQ(dialogue.boxes.size(), row.told.empty() ? 0u : 1u);
    if (!row.told.empty()) {
      EXPECT_EQ(Shown(dialogue.boxes[0]),
                std::make_tuple(row.told, "Error", Icon::Exclamation, Buttons::OK));
    }
  }
  EXPECT_FALSE(http.FileExist(home.Root().string()));
}

}  // namespace
}  // namespace veilbox::testing
