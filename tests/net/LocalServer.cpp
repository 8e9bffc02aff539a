// The test server over BSD sockets or Winsock.
#ifdef _WIN32
#include <winsock2.h>
#else
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <chrono>
#include <stdexcept>

#include "NetTest.h"

// The few calls whose names differ.
#ifdef _WIN32
#define poll WSAPoll
using socklen_t = int;
constexpr int MSG_NOSIGNAL = 0;
#else
#define closesocket close
#endif

namespace veilbox::testing {

LocalServer::LocalServer(std::string reply, Mode mode) : reply_(std::move(reply)), mode_(mode) {
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
  thread_ = std::thread([this] {
    while (WaitReadable(listener_)) {
      const std::intptr_t connection = accept(listener_, nullptr, nullptr);
      if (connection < 0) continue;
      Serve(connection);
      closesocket(connection);
    }
  });
}

LocalServer::~LocalServer() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  closesocket(listener_);
}

std::string LocalServer::Address(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> LocalServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void LocalServer::Serve(std::intptr_t connection) {
  std::string request;
  char buffer[4096];
  long n = 0;
  while (request.find("\r\n\r\n") == std::string::npos) {
    if (!WaitReadable(connection) || (n = recv(connection, buffer, sizeof buffer, 0)) <= 0) return;
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
  while (mode_ == Holding && WaitReadable(connection) && recv(connection, buffer, 1, 0) > 0) {
  }
}

bool LocalServer::WaitReadable(std::intptr_t socket) const {
  pollfd p{};
  p.fd = socket;
  p.events = POLLIN;
  while (!stop_) {
    if (poll(&p, 1, 20) > 0) return true;
  }
  return false;
}

}  // namespace veilbox::testing
