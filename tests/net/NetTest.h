// Common ground of the network tests: the program in a private home, no
// proxy for any request, and a small HTTP server on 127.0.0.1.
#pragma once

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

// Sends every connection one reply in pieces of 1000 bytes and records the requests; a Holding
// server keeps the connection until the client lets go, a Refusing one does not listen.
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
    long n = 0;
    while (request.find("\r\n\r\n") == std::string::npos) {
      if (!WaitReadable(connection) || (n = recv(connection, buffer, sizeof buffer, 0)) <= 0)
        return;
      request.append(buffer, static_cast<std::size_t>(n));
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
    pollfd p{};
    p.fd = socket;
    p.events = POLLIN;
    while (!stop_) {
      if (poll(&p, 1, 20) > 0) return true;
    }
    return false;
  }

  const std::string reply_;
  std::intptr_t listener_;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

}  // namespace veilbox::testing
