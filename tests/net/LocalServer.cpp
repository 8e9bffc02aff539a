#include "LocalServer.h"

#include <stdexcept>

namespace veilbox::testing {
namespace {

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
  listener_ = BoundLoopbackSocket(port_);
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

LocalServer::~LocalServer() {
  stop_ = true;
  thread_.join();
  CloseSocket(listener_);
}

std::string LocalServer::Address(const std::string& path) const {
  return Loopback(port_, path);
}

std::vector<std::string> LocalServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void LocalServer::Serve(Socket connection) {
  std::string request;
  char buffer[4096];
  long n = 0;
  while (request.find("\r\n\r\n") == std::string::npos) {
    if (!WaitReadable(connection) || (n = Receive(connection, buffer, sizeof buffer)) <= 0) return;
    request.append(buffer, static_cast<std::size_t>(n));
  }
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
  }
  if (!answers_) {  // hold the connection until the client gives up
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
bool LocalServer::WaitReadable(Socket socket) const {
  while (!stop_ && std::chrono::steady_clock::now() < end_) {
    if (Readable(socket, 20)) return true;
  }
  return false;
}

RefusedPort::RefusedPort() {
  socket_ = BoundLoopbackSocket(port_);
}
RefusedPort::~RefusedPort() {
  CloseSocket(socket_);
}
std::string RefusedPort::Address(const std::string& path) const {
  return Loopback(port_, path);
}

}  // namespace veilbox::testing
