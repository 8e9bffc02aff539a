#include "LocalServer.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace veilbox::testing {
namespace {

// A TCP socket bound to a free port of 127.0.0.1.
int BoundSocket(int& port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error("no local socket");
  }
  port = ntohs(address.sin_port);
  return fd;
}

std::string Loopback(int port, const std::string& path) {
  return "http://127.0.0.1:" + std::to_string(port) + path;
}

}  // namespace

std::string Response(const std::string& status, const std::string& headers,
                     const std::string& body) {
  return "HTTP/1.0 " + status + "\r\n" + headers + "\r\n" + body;
}

std::string Document(const std::string& body) {
  return Response("200 OK", "Content-Length: " + std::to_string(body.size()) + "\r\n", body);
}

LocalServer::LocalServer(std::string reply, std::size_t piece, bool answers)
    : reply_(std::move(reply)),
      piece_(piece ? piece : reply_.size() + 1),
      answers_(answers),
      end_(std::chrono::steady_clock::now() + std::chrono::minutes(1)) {
  listener_ = BoundSocket(port_);
  if (listen(listener_, 8) != 0) throw std::runtime_error("listen failed");
  thread_ = std::thread([this] {
    while (WaitReadable(listener_)) {
      const int connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      if (connection < 0) continue;
      Serve(connection);
      close(connection);
    }
  });
}

LocalServer::~LocalServer() {
  stop_ = true;
  thread_.join();
  close(listener_);
}

std::string LocalServer::Address(const std::string& path) const {
  return Loopback(port_, path);
}

std::vector<std::string> LocalServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void LocalServer::Serve(int connection) {
  std::string request;
  char buffer[4096];
  ssize_t n = 0;
  while (request.find("\r\n\r\n") == std::string::npos) {
    if (!WaitReadable(connection) || (n = recv(connection, buffer, sizeof buffer, 0)) <= 0) return;
    request.append(buffer, static_cast<std::size_t>(n));
  }
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
  }
  if (!answers_) {  // hold the connection until the client gives up
    while (WaitReadable(connection) && recv(connection, buffer, sizeof buffer, 0) > 0) {
    }
    return;
  }
  for (std::size_t sent = 0; sent < reply_.size(); sent += piece_) {
    const std::string part = reply_.substr(sent, piece_);
    if (send(connection, part.data(), part.size(), MSG_NOSIGNAL) < 0) return;
    if (sent + piece_ < reply_.size()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

// Waits in short slices, so that a stop is noticed; false once stopping.
bool LocalServer::WaitReadable(int fd) const {
  while (!stop_ && std::chrono::steady_clock::now() < end_) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 20) > 0) return true;
  }
  return false;
}

RefusedPort::RefusedPort() {
  socket_ = BoundSocket(port_);
}
RefusedPort::~RefusedPort() {
  close(socket_);
}
std::string RefusedPort::Address(const std::string& path) const {
  return Loopback(port_, path);
}

}  // namespace veilbox::testing
