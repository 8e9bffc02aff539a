// The few socket calls of the local test server, the platform's own way:
// BSD sockets (posix/) or Winsock (win32/).
#pragma once

#include <cstddef>
#include <cstdint>

namespace veilbox::testing {

using Socket = std::intptr_t;
constexpr Socket kNoSocket = -1;

// A TCP socket bound to a free port of 127.0.0.1; throws when there is none.
Socket BoundLoopbackSocket(int& port);
bool Listen(Socket listener);
Socket Accept(Socket listener);  // kNoSocket on failure
bool Readable(Socket socket, int wait_ms);
// Bytes received or sent; 0 or less at the end or on failure.
long Receive(Socket socket, char* buffer, std::size_t size);
long Send(Socket socket, const char* data, std::size_t size);
void CloseSocket(Socket socket);

}  // namespace veilbox::testing
