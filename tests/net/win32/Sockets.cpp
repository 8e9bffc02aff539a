#include <winsock2.h>

#include <stdexcept>

#include "net/Sockets.h"

namespace veilbox::testing {
namespace {

SOCKET Native(Socket s) {
  return static_cast<SOCKET>(s);
}

// Winsock is started once for the test program and never stopped.
void StartWinsock() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  if (!started) throw std::runtime_error("Winsock did not start");
}

}  // namespace

Socket BoundLoopbackSocket(int& port) {
  StartWinsock();
  const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  if (s == INVALID_SOCKET || bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    throw std::runtime_error("no local socket");
  }
  port = ntohs(address.sin_port);
  return static_cast<Socket>(s);
}

bool Listen(Socket listener) {
  return listen(Native(listener), 8) == 0;
}

Socket Accept(Socket listener) {
  const SOCKET connection = accept(Native(listener), nullptr, nullptr);
  return connection == INVALID_SOCKET ? kNoSocket : static_cast<Socket>(connection);
}

bool Readable(Socket socket, int wait_ms) {
  WSAPOLLFD p{Native(socket), POLLRDNORM, 0};
  return WSAPoll(&p, 1, wait_ms) > 0;
}

long Receive(Socket socket, char* buffer, std::size_t size) {
  return recv(Native(socket), buffer, static_cast<int>(size), 0);
}

long Send(Socket socket, const char* data, std::size_t size) {
  return send(Native(socket), data, static_cast<int>(size), 0);
}

void CloseSocket(Socket socket) {
  closesocket(Native(socket));
}

}  // namespace veilbox::testing
