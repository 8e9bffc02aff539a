// clsHTTP and the version check against a small HTTP server on 127.0.0.1, with no proxy.
#include <gmock/gmock.h>

#ifdef _WIN32
#include <winsock2.h>
#define poll WSAPoll
using socklen_t = int;
constexpr int MSG_NOSIGNAL = 0;
#else
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#define closesocket close
#endif

#include <atomic>
#include <chrono>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "app/VersionCheck.h"
#include "net/clsHTTP.h"
#include "platform/Environment.h"
#include "support/HomeTest.h"

namespace veilbox::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class NetTest : public HomeTest {
 protected:
  NetTest() { SetEnvironment("no_proxy", "*"); }
  ~NetTest() override { SetEnvironment("no_proxy", no_proxy_); }
  const std::optional<std::string> no_proxy_ = EnvironmentValue("no_proxy");
  clsHTTP http{session.reporter};
  std::string text = "untouched";
};
using HttpClientTest = NetTest;
using VersionCheckTest = NetTest;

auto Shown(const ShownBox& box) {
  return std::tie(box.text, box.title, box.icon, box.buttons);
}
// A raw HTTP/1.0 response; the body ends where the server closes.
std::string Response(const std::string& status, const std::string& headers,
                     const std::string& body) {
  return "HTTP/1.0 " + status + "\r\n" + headers + "\r\n" + body;
}
std::string Document(const std::string& body) {
  return Response("200 OK", "Content-Length: " + std::to_string(body.size()) + "\r\n", body);
}

// Replies in 1000-byte pieces, notes requests; Holding keeps the link, Refusing does not listen.
class LocalServer {
 public:
  enum Mode { Closing, Holding, Refusing };
  explicit LocalServer(std::string reply, Mode mode = Closing) : reply_(std::move(reply)) {
#ifdef _WIN32
    static WSADATA winsock;  // started once for the test program, never stopped
    [[maybe_unused]] static const int started = WSAStartup(MAKEWORD(2, 2), &winsock);
#endif
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    auto* any = reinterpret_cast<sockaddr*>(&address);
    if (bind(listener_, any, sizeof address) != 0 || getsockname(listener_, any, &length) != 0 ||
        (mode != Refusing && listen(listener_, 8) != 0)) {
      throw std::runtime_error("no local server");
    }
    port_ = ntohs(address.sin_port);
    if (mode == Refusing) return;
    thread_ = std::thread([this, mode] {
      while (WaitReadable(listener_)) {
        const std::intptr_t connection = accept(listener_, nullptr, nullptr);
        if (connection < 0) continue;
        Serve(connection, mode);
        closesocket(connection);
      }
    });
  }
  ~LocalServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    closesocket(listener_);
  }
  std::string Address(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  std::vector<std::string> Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
  }

 private:
  void Serve(std::intptr_t connection, Mode mode) {
    std::string request;
    char buffer[4096];
    for (long n = 0; request.find("\r\n\r\n") == std::string::npos; request.append(buffer, n)) {
      if (!WaitReadable(connection) || (n = recv(connection, buffer, sizeof buffer, 0)) <= 0)
        return;
    }
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
    }
    for (std::size_t sent = 0; sent < reply_.size(); sent += 1000) {
      std::this_thread::sleep_for(std::chrono::milliseconds(sent ? 2 : 0));
      const std::string part = reply_.substr(sent, 1000);
      if (send(connection, part.data(), part.size(), MSG_NOSIGNAL) < 0) return;
    }
    while (mode == Holding && WaitReadable(connection) && recv(connection, buffer, 1, 0) > 0) {
    }
  }
  bool WaitReadable(std::intptr_t socket) const {  // false once stopping
    pollfd p{static_cast<decltype(pollfd::fd)>(socket), POLLIN, 0};
    while (!stop_ && poll(&p, 1, 20) <= 0) {
    }
    return !stop_;
  }

  const std::string reply_;
  std::intptr_t listener_;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
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
  EXPECT_EQ(std::tie(text, http.LastError()), std::make_tuple("1.05,addr,no", ""));
  const std::string request = server.Requests().at(0);
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
  EXPECT_THAT(dialogue.boxes.at(0).text, HasSubstr("Error Description: Overflow."));
}

// Events run once the headers are in and after each read; a cut transfer ends the document.
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
  EXPECT_EQ(std::make_tuple(text, dialogue.boxes.size()), std::make_tuple("untouched", 0u));
}

// GetFileToDisk replaces the file with the raw body, or leaves no file.
TEST_F(HttpClientTest, GetFileToDiskWritesTheWholeBodyOrNothing) {
  const std::string body("\x00\xff\r\nbytes", 9);
  const std::string file = (home.MakeFolder("downloads") / "doc.bin").string();
  const std::string unwritable = (home.Root() / "no-such-folder" / "doc.bin").string();
  const std::string cut = Response("200 OK", "Content-Length: 100\r\n", "only part");
  // The reply, the target, what it holds after (nullopt: no file), boxes so far, the last error.
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

// Only a newer version asks, an exact "must-download" ends; only an http(s) host is trusted.
TEST_F(VersionCheckTest, TheDocumentsRules) {
  const std::map<char, std::string> texts{{'O', "New version is available at: "},
                                          {'D', kDamagedDocumentText},
                                          {'S', "Subscript out of range"}};
  // The document, the answer, whether it ends the program, the boxes (texts' letters), opened.
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

// Start-up fetches at most kMaxDocumentBytes and offers a newer version before the agreement.
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
