// One HTTP/1.0 GET through the platform's HTTP library, chosen at build
// time: libcurl (curl/CurlTransport.cpp) or WinINet
// (wininet/WinInetTransport.cpp). The body is pulled in pieces, the way a
// blocking read hands it out, and the caller's event pump runs while a
// request waits on the network, so the windows stay live.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace veilbox {

// The library's session; one per clsHTTP.
class HttpSession {
 public:
  // nullptr when the library cannot be set up.
  static std::unique_ptr<HttpSession> Open();
  ~HttpSession();
  HttpSession(const HttpSession&) = delete;
  HttpSession& operator=(const HttpSession&) = delete;

  struct Impl;
  Impl& impl() { return *impl_; }

 private:
  explicit HttpSession(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

class HttpRequest {
 public:
  using Pump = std::function<void()>;
  enum class Opened { Ok, ConnectFailed, RequestFailed };

  explicit HttpRequest(HttpSession& session);
  ~HttpRequest();
  HttpRequest(const HttpRequest&) = delete;
  HttpRequest& operator=(const HttpRequest&) = delete;

  // Prepares a GET of path (empty: "/") on server (host, optionally
  // ":port") with the given header lines; a line with nothing after its
  // colon keeps the library from sending a header of that name.
  Opened Open(const std::string& server, const std::string& path,
              const std::vector<std::string>& header_lines,
              std::chrono::milliseconds connect_timeout, std::chrono::milliseconds whole_timeout);

  // Sends the request and waits for the response's headers. False when no
  // response came: refused, unresolvable, or out of time.
  bool Send(const Pump& pump);

  // The next size bytes of the body, fewer only where it ends or the
  // transfer fails; 0 after that.
  std::size_t Read(char* buffer, std::size_t size, const Pump& pump);
  // Whether the body broke off before its end (the connection failed or
  // timed out, rather than the server ending it).
  bool BrokeOff() const;

  // The first value of a response header, trimmed of blanks; empty when
  // absent. Names compare without regard to case.
  std::string Header(const std::string& name) const;

  // The request's headers as sent, request line first, lines ending in CR LF.
  std::string RequestHeaders() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Text without the blanks and tabs at either end.
inline std::string TrimBlanks(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace veilbox
