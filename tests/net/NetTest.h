// Common ground of the network tests: a private home, settings and scripted
// dialogue (whose on_show runs at each pause for events), an environment in
// which no request leaves the machine through a proxy, and a small HTTP
// server on 127.0.0.1.
#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "net/Sockets.h"
#include "platform/Environment.h"
#include "support/HomeTest.h"

namespace veilbox::testing {

class NetTest : public HomeTest {
 protected:
  NetTest() { SetEnvironment("no_proxy", "*"); }
  ~NetTest() override { SetEnvironment("no_proxy", no_proxy_); }

 private:
  const std::optional<std::string> no_proxy_ = EnvironmentValue("no_proxy");
};

// A box's text, title, icon and buttons, to compare in one check.
inline auto Shown(const ShownBox& box) {
  return std::tie(box.text, box.title, box.icon, box.buttons);
}

// A raw HTTP/1.0 response; the body ends where the server closes.
inline std::string Response(const std::string& status, const std::string& headers,
                            const std::string& body) {
  return "HTTP/1.0 " + status + "\r\n" + headers + "\r\n" + body;
}

// A 200 response with a Content-Length.
inline std::string Document(const std::string& body) {
  return Response("200 OK", "Content-Length: " + std::to_string(body.size()) + "\r\n", body);
}

// One scripted reply to every connection, the requests recorded. It stops
// when the test drops it.
class LocalServer {
 public:
  enum Mode {
    kAnswers,
    kSilent,   // reads each request and never answers it
    kRefuses,  // bound, never listening: every connection is refused
  };
  // piece: the reply goes out in pieces of this size with short pauses (0: at once).
  explicit LocalServer(std::string reply, std::size_t piece = 0, Mode mode = kAnswers)
      : reply_(std::move(reply)), piece_(piece ? piece : reply_.size() + 1), mode_(mode) {
    listener_ = BoundLoopbackSocket(port_);
    if (mode == kRefuses) return;
    if (!Listen(listener_)) throw std::runtime_error("listen failed");
    thread_ = std::thread([this] {
      while (WaitReadable(listener_)) {
        const Socket connection = Accept(listener_);
        if (connection == kNoSocket) continue;
        Serve(connection);
        CloseSocket(connection);
      }
    });
  }
  ~LocalServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    CloseSocket(listener_);
  }

  // "http://127.0.0.1:<port>" followed by path.
  std::string Address(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  std::vector<std::string> Requests() const {  // line and headers of each
    std::lock_guard lock(mutex_);
    return requests_;
  }

 private:
  void Serve(Socket connection) {
    std::string request;
    char buffer[4096];
    long n = 0;
    while (request.find("\r\n\r\n") == std::string::npos) {
      if (!WaitReadable(connection) || (n = Receive(connection, buffer, sizeof buffer)) <= 0)
        return;
      request.append(buffer, static_cast<std::size_t>(n));
    }
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(request);
    }
    if (mode_ == kSilent) {  // hold the connection until the client gives up
      while (WaitReadable(connection) && Receive(connection, buffer, sizeof buffer) > 0) {
      }
      return;
    }
    for (std::size_t sent = 0; sent < reply_.size(); sent += piece_) {
      const std::string part = reply_.substr(sent, piece_);
      if (Send(connection, part.data(), part.size()) < 0) return;
      if (sent + piece_ < reply_.size()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }

  // Waits in short slices, so that a stop is noticed; false once stopping.
  bool WaitReadable(Socket socket) const {
    while (!stop_) {
      if (Readable(socket, 20)) return true;
    }
    return false;
  }

  const std::string reply_;
  const std::size_t piece_;
  const Mode mode_;
  Socket listener_ = kNoSocket;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

}  // namespace veilbox::testing
