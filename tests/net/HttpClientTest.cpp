// clsHTTP against a local server.
#include <gmock/gmock.h>

#include "NetTest.h"
#include "net/clsHTTP.h"

namespace veilbox::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class HttpClientTest : public NetTest {
 protected:
  clsHTTP http{session.reporter};
  std::string text = "untouched";
};

// Additional header lines go out unless the request has that header already.
TEST_F(HttpClientTest, SendsAnUncachedHttp10GetAndReadsTheResponsesValues) {
  LocalServer server(
      Response("200 OK",
               "Content-Length: 12\r\nLast-Modified:   Tue, 01 Apr 2025 10:00:00 GMT "
               " \r\nforwarded: for=192.0.2.1\r\n",
               "1.05,addr,no"));
  ASSERT_TRUE(http.GetFile(server.Address("/AppVersions/VeilboxVersion.txt"), text,
                           "X-Probe: 1\r\nPragma: from-caller\r\nX-Probe: 2"));
  EXPECT_EQ(text, "1.05,addr,no");
  EXPECT_EQ(http.LastError(), "");
  ASSERT_EQ(server.Requests().size(), 1u);
  const std::string request = server.Requests()[0];
  EXPECT_EQ(http.sRequestHeaders, request);
  EXPECT_TRUE(request.starts_with("GET /AppVersions/VeilboxVersion.txt HTTP/1.0\r\n")) << request;
  for (const char* line : {"Pragma: no-cache", "Cache-Control: no-cache", "X-Probe: 1"}) {
    EXPECT_THAT(request, HasSubstr(std::string("\r\n") + line + "\r\n"));
  }
  for (const char* gone : {"from-caller", "X-Probe: 2"}) EXPECT_THAT(request, Not(HasSubstr(gone)));
  const auto values = [&] {
    return std::make_tuple(http.ContentLength(), http.LastModified(), http.Forwarded());
  };
  EXPECT_EQ(values(), std::make_tuple(12, "Tue, 01 Apr 2025 10:00:00 GMT", "for=192.0.2.1"));

  // Without "http://" and without a path: the empty path, which HTTP sends as "/".
  LocalServer plain(Response("200 OK", "", "x"));
  ASSERT_TRUE(http.Connect(plain.Address("").substr(7)));
  EXPECT_TRUE(plain.Requests().at(0).starts_with("GET / HTTP/1.0\r\n"));
  EXPECT_EQ(values(), std::make_tuple(0, "", ""));

  // A length beyond 32 bits is a failure of Connect, handed to the reporter.
  LocalServer huge(Response("200 OK", "Content-Length: 3000000000\r\n", ""));
  dialogue.Answers({Answer::Yes});
  EXPECT_FALSE(http.Connect(huge.Address("/")));
  ASSERT_EQ(dialogue.boxes.size(), 1u);
  EXPECT_THAT(dialogue.boxes[0].text, HasSubstr("Error Description: Overflow."));
}

// The events run once the headers are in (the old text still there) and after
// each read; a transfer that breaks off ends the document where it stopped.
TEST_F(HttpClientTest, TheBodyArrivesWholeWhateverItsPiecesAndStatus) {
  std::string body;
  for (int i = 0; i < 5000; ++i) body += static_cast<char>('a' + i % 26);
  LocalServer pieces(Document(body));
  using Seen = std::pair<std::size_t, std::int32_t>;  // the text's size, the announced length
  std::vector<Seen> pumps;
  dialogue.on_show = [&] { pumps.emplace_back(text.size(), http.ContentLength()); };
  ASSERT_TRUE(http.GetFile(pieces.Address("/big"), text));
  EXPECT_EQ(text, body);
  EXPECT_THAT(pumps, ::testing::IsSupersetOf(
                         {Seen(9, 5000), Seen(2048, 5000), Seen(4096, 5000), Seen(5000, 5000)}));
  dialogue.on_show = nullptr;

  for (const std::string& reply : {Response("404 Not Found", "", "<h1>Not Found</h1>"),
                                   Response("200 OK", "Content-Length: 100\r\n", "1.05,par")}) {
    LocalServer server(reply);
    EXPECT_TRUE(http.GetFile(server.Address("/"), text));
    EXPECT_TRUE(reply.ends_with("\r\n" + text)) << text;
  }
  EXPECT_TRUE(dialogue.boxes.empty());
}

// A new Connect lets go of the last request (a holding server serves the next only then).
TEST_F(HttpClientTest, UnreachableServersFailQuietlyWithinTheTimeOut) {
  LocalServer refused("", LocalServer::Refusing), silent("", LocalServer::Holding);
  LocalServer holding(Response("200 OK", "", "part"), LocalServer::Holding);
  ASSERT_TRUE(http.Connect(holding.Address("/")));
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
  EXPECT_TRUE(http.Connect(holding.Address("/")));
  EXPECT_EQ(text, "untouched");
  EXPECT_TRUE(dialogue.boxes.empty());
}

// GetFileToDisk replaces the file with the raw body, or leaves no file.
TEST_F(HttpClientTest, GetFileToDiskWritesTheWholeBodyOrNothing) {
  const std::string body("\x00\xff\r\nbytes", 9);
  const std::string file = (home.MakeFolder("downloads") / "doc.bin").string();
  const std::string unwritable = (home.Root() / "no-such-folder" / "doc.bin").string();
  const std::string cut = Response("200 OK", "Content-Length: 100\r\n", "only part");
  // The reply, the target, what it holds afterwards (nullopt: no file), the boxes shown so
  // far and the last error.
  const std::tuple<std::string, std::string, std::optional<std::string>, std::size_t, std::string>
      rows[] = {{Document(body), file, body, 0, ""},
                {Document(body), unwritable, std::nullopt, 1, ""},
                {cut, file, std::nullopt, 1, clsHTTP::kCutShort}};
  for (const auto& [reply, target, left, boxes, last_error] : rows) {
    SCOPED_TRACE(reply);
    WriteText(file, "an older and much longer file");
    LocalServer server(reply);
    EXPECT_EQ(http.GetFileToDisk(server.Address("/doc"), target), left.has_value());
    EXPECT_EQ(http.FileExist(target) ? std::optional(ReadText(target)) : std::nullopt, left);
    EXPECT_EQ(http.LastError(), last_error);
    EXPECT_EQ(dialogue.boxes.size(), boxes);
  }
  EXPECT_EQ(Shown(dialogue.boxes.at(0)), std::make_tuple("Could not retrieve latest version",
                                                         "Error", Icon::Exclamation, Buttons::OK));
  EXPECT_FALSE(http.FileExist(home.Root().string()));
}

}  // namespace
}  // namespace veilbox::testing
