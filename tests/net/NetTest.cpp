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
#include <map>
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

class HttpClientTest : public HomeTest {
 protected:
  HttpClientTest() { SetEnvironment("no_proxy", "*"); }
  ~HttpClientTest() override { SetEnvironment("no_proxy", no_proxy_); }
  const std::optional<std::string> no_proxy_ = EnvironmentValue("no_proxy");
  clsHTTP http{session.reporter};
  std::string text = "untouched";
};
using VersionCheckTest = HttpClientTest;

// A raw HTTP/1.0 response; the body ends where the server closes.
std::string Response(const std::string& status, const std::string& headers,
                     const std::string& body) {
  return "HTTP/1.0 " + status + "\r\n" + headers + "\r\n" + body;
}
std::string Document(const std::string& body) {
  return Response("200 OK", "Content-Length: " + std::to_string(body.size()) + "\r\n", body);
}

// Replies to a path with its reply (nothing for others) in 1000-byte pieces and notes requests;
// Holding keeps the link, Refusing does not listen.
class LocalServer {
 public:
  enum Mode { Closing, Holding, Refusing };
  explicit LocalServer(std::map<std::string, std::string> replies, Mode mode = Closing)
      : replies_(std::move(replies)) {
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
    const std::size_t path = request.find(' ') + 1;
    const auto found = replies_.find(request.substr(path, request.find(' ', path) - path));
    const std::string reply = found == replies_.end() ? "" : found->second;
    for (std::size_t sent = 0; sent < reply.size(); sent += 1000) {
      std::this_thread::sleep_for(std::chrono::milliseconds(sent ? 2 : 0));
      const std::string part = reply.substr(sent, 1000);
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

  const std::map<std::string, std::string> replies_;
  std::intptr_t listener_;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// Additional header lines go out unless the request has that header already. The body arrives
// whole whatever its pieces and status; a cut transfer ends the document.
TEST_F(HttpClientTest, SendsAnUncachedHttp10GetAndReadsTheWholeResponse) {
  std::string big;
  for (int i = 0; i < 5000; ++i) big += static_cast<char>('a' + i % 26);
  const std::pair<std::string, std::string> bodies[] = {
      {"/big", big}, {"/missing", "<h1>Not Found</h1>"}, {"/cut", "1.05,par"}};
  LocalServer server({{"/AppVersions/VeilboxVersion.txt",
                       Response("200 OK", "Content-Length: 12\r\n", "1.05,addr,no")},
                      {"/huge", Response("200 OK", "Content-Length: 3000000000\r\n", "")},
                      {"/big", Document(big)},
                      {"/missing", Response("404 Not Found", "", bodies[1].second)},
                      {"/cut", Response("200 OK", "Content-Length: 100\r\n", bodies[2].second)}});
  ASSERT_TRUE(http.GetFile(server.Address("/AppVersions/VeilboxVersion.txt"), text,
                           "X-Probe: 1\r\nPragma: from-caller\r\nX-Probe: 2"));
  EXPECT_EQ(std::tie(text, http.LastError()), std::make_tuple("1.05,addr,no", ""));
  const std::string request = server.Requests().at(0);
  EXPECT_TRUE(request.starts_with("GET /AppVersions/VeilboxVersion.txt HTTP/1.0\r\n")) << request;
  for (const char* line : {"Pragma: no-cache", "Cache-Control: no-cache", "X-Probe: 1"})
    EXPECT_THAT(request, HasSubstr(std::string("\r\n") + line + "\r\n"));
  for (const char* gone : {"from-caller", "X-Probe: 2"}) EXPECT_THAT(request, Not(HasSubstr(gone)));
  bool pumped = false;  // events run once the headers are in, before the text is replaced
  dialogue.on_show = [&] { pumped |= text == "1.05,addr,no" && http.ContentLength() == 5000; };
  for (const auto& [path, body] : bodies)
    EXPECT_TRUE(http.GetFile(server.Address(path), text) && text == body) << path << ": " << text;
  EXPECT_TRUE(pumped);
  // A length beyond 32 bits is a failure of Connect, handed to the reporter.
  dialogue.Answers({Answer::Yes});
  EXPECT_FALSE(http.Connect(server.Address("/huge")));
  EXPECT_THAT(dialogue.boxes.at(0).text, HasSubstr("Error Description: Overflow."));
}

// A new Connect lets go of the last request (a holding server serves the next only then).
TEST_F(HttpClientTest, UnreachableServersFailQuietlyWithinTheTimeOut) {
  LocalServer refused({}, LocalServer::Refusing);
  LocalServer holding({{"/", Response("200 OK", "", "part")}}, LocalServer::Holding);
  ASSERT_TRUE(http.Connect(holding.Address("/")));
  for (const std::string& address :
       {refused.Address("/v.txt"), std::string("http://updates.veilbox.invalid/v.txt"),
        holding.Address("/v.txt")}) {
    http.SetTimeouts(std::chrono::milliseconds(500), std::chrono::milliseconds(1000));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(http.GetFile(address, text)) << address;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_EQ(http.LastError(), "HttpSendRequest failed") << address;
  }
  EXPECT_EQ(holding.Requests().size(), 2u);  // the first held link was let go
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
  LocalServer server({{"/doc", Document(body)},
                      {"/cut", Response("200 OK", "Content-Length: 100\r\n", "only part")}});
  // The path, the target, what it holds after (nullopt: no file), boxes so far, the last error.
  const std::tuple<std::string, std::string, std::optional<std::string>, std::size_t, std::string>
      rows[] = {{"/doc", file, body, 0, ""},
                {"/doc", unwritable, std::nullopt, 1, ""},
                {"/cut", file, std::nullopt, 1, clsHTTP::kCutShort}};
  for (const auto& [path, target, left, boxes, last_error] : rows) {
    SCOPED_TRACE(path + " to " + target);
    WriteText(file, "an older and much longer file");
    EXPECT_EQ(http.GetFileToDisk(server.Address(path), target), left.has_value());
    EXPECT_EQ(http.FileExist(target) ? std::optional(ReadText(target)) : std::nullopt, left);
    EXPECT_EQ(http.LastError(), last_error);
    EXPECT_EQ(dialogue.boxes.size(), boxes);
  }
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
  LocalServer server(
      {{"/v", Document(head + std::string(kMaxDocumentBytes - head.size() + 1, 'x'))},
       {"/AppVersions/VeilboxVersion.txt",
        Document(head + std::string(kMaxDocumentBytes - head.size(), 'x'))}});
  SetEnvironment("VEILBOX_UPDATE_URL", server.Address("/v"));
  dialogue.Answers({Answer::No});
  EXPECT_EQ(session.Start(), StartUpResult::EndProgram);  // the agreement, declined
  ASSERT_EQ(dialogue.boxes.size(), 2u);
  EXPECT_EQ(dialogue.boxes[0].text, kDamagedDocumentText);

  dialogue.boxes.clear();
  SetEnvironment("VEILBOX_UPDATE_URL", server.Address("/AppVersions/VeilboxVersion.txt"));
  dialogue.Answers({Answer::Yes, Answer::Yes});
  EXPECT_EQ(session.Start(), StartUpResult::Continue);
  ASSERT_EQ(dialogue.boxes.size(), 2u);
  const ShownBox& offer = dialogue.boxes[0];
  EXPECT_EQ(std::tie(offer.text, offer.title, offer.icon, offer.buttons),
            std::make_tuple("New version is available at: https://example.org/get. Do you wish "
                            "to go there now?",
                            "New Version", Icon::Information, Buttons::YesNoCancel));
  EXPECT_EQ(dialogue.boxes[1].title, "Agreement");
  EXPECT_EQ(dialogue.opened_addresses, std::vector<std::string>{"https://example.org/get"});
  EXPECT_TRUE(server.Requests().at(1).starts_with("GET /AppVersions/VeilboxVersion.txt "));
}

}  // namespace
}  // namespace veilbox::testing
