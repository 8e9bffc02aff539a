// Common ground of the network tests: the program in a private home, no
// proxy for any request, and a small HTTP server on 127.0.0.1.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/Environment.h"
#include "support/HomeTest.h"

namespace veilbox::testing {

class NetTest : public HomeTest {
 protected:
  NetTest() { SetEnvironment("no_proxy", "*"); }
  ~NetTest() override { SetEnvironment("no_proxy", no_proxy_); }
  const std::optional<std::string> no_proxy_ = EnvironmentValue("no_proxy");
};

inline auto Shown(const ShownBox& box) {
  return std::tie(box.text, box.title, box.icon, box.buttons);
}
// A raw HTTP/1.0 response; the body ends where the server closes.
inline std::string Response(const std::string& status, const std::string& headers,
                            const std::string& body) {
  return "HTTP/1.0 " + status + "\r\n" + headers + "\r\n" + body;
}
inline std::string Document(const std::string& body) {
  return Response("200 OK", "Content-Length: " + std::to_string(body.size()) + "\r\n", body);
}

// Sends one reply to every connection, one at a time, in pieces of 1000
// bytes with short pauses, and records the requests (line and headers). A
// Holding server then keeps the connection until the client lets go (an
// empty reply is silence); a Refusing one does not listen. It stops when
// the test drops it.
class LocalServer {
 public:
  enum Mode { Closing, Holding, Refusing };
  explicit LocalServer(std::string reply, Mode mode = Closing);
  ~LocalServer();
  std::string Address(const std::string& path) const;  // "http://127.0.0.1:<port>" + path
  std::vector<std::string> Requests() const;

 private:
  void Serve(std::intptr_t connection);
  bool WaitReadable(std::intptr_t socket) const;  // false once stopping

  const std::string reply_;
  const Mode mode_;
  std::intptr_t listener_;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

}  // namespace veilbox::testing
