// A small HTTP server on 127.0.0.1 for the network tests: one scripted reply
// to every connection, the requests recorded. It stops when the test drops
// it, or by itself after a minute.
#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "net/Sockets.h"

namespace veilbox::testing {

// A raw HTTP/1.0 response; the body ends where the server closes.
std::string Response(const std::string& status, const std::string& headers,
                     const std::string& body);
// A 200 response with a Content-Length.
std::string Document(const std::string& body);

class LocalServer {
 public:
  // piece: the reply goes out in pieces of this size with short pauses (0:
  // at once). answers false: the request is read and never answered.
  explicit LocalServer(std::string reply, std::size_t piece = 0, bool answers = true);
  ~LocalServer();

  // "http://127.0.0.1:<port>" followed by path.
  std::string Address(const std::string& path) const;
  std::vector<std::string> Requests() const;  // line and headers of each

 private:
  void Serve(Socket connection);
  bool WaitReadable(Socket socket) const;

  const std::string reply_;
  const std::size_t piece_;
  const bool answers_;
  const std::chrono::steady_clock::time_point end_;
  Socket listener_ = kNoSocket;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

// A port on 127.0.0.1 that refuses connections: bound, never listening.
class RefusedPort {
 public:
  RefusedPort();
  ~RefusedPort();
  std::string Address(const std::string& path) const;

 private:
  Socket socket_ = kNoSocket;
  int port_ = 0;
};

}  // namespace veilbox::testing
