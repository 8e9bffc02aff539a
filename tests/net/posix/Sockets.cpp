#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

#include "net/Sockets.h"

namespace veilbox::testing {

Socket BoundLoopbackSocket(int& port) {
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

bool Listen(Socket listener) {
  return listen(static_cast<int>(listener), 8) == 0;
}

Socket Accept(Socket listener) {
  const int connection = accept4(static_cast<int>(listener), nullptr, nullptr, SOCK_CLOEXEC);
  return connection < 0 ? kNoSocket : connection;
}

bool Readable(Socket socket, int wait_ms) {
  pollfd p{static_cast<int>(socket), POLLIN, 0};
  return poll(&p, 1, wait_ms) > 0;
}

long Receive(Socket socket, char* buffer, std::size_t size) {
  return recv(static_cast<int>(socket), buffer, size, 0);
}

long Send(Socket socket, const char* data, std::size_t size) {
  return send(static_cast<int>(socket), data, size, MSG_NOSIGNAL);
}

void CloseSocket(Socket socket) {
  close(static_cast<int>(socket));
}

}  // namespace veilbox::testing
