// One HTTP GET through libcurl's multi interface. The body is pulled in
// pieces, the way a blocking read hands it out, and the caller's event pump
// runs while the request waits on the network, so the windows stay live.
#pragma once

#include <curl/curl.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace veilbox {

class CurlRequest {
 public:
  using Pump = std::function<void()>;

  explicit CurlRequest(CURLM* session) : session_(session) {}
  ~CurlRequest();
  CurlRequest(const CurlRequest&) = delete;
  CurlRequest& operator=(const CurlRequest&) = delete;

  // Prepares a GET of url with the given extra header lines. False when the
  // request cannot be set up.
  bool Open(const std::string& url, const std::vector<std::string>& header_lines,
            std::chrono::milliseconds connect_timeout, std::chrono::milliseconds whole_timeout);

  // Sends the request and waits for the response's headers. False when no
  // response came: refused, unresolvable, or out of time.
  bool Send(const Pump& pump);

  // The next size bytes of the body, fewer only where it ends or the
  // transfer fails; 0 after that.
  std::size_t Read(char* buffer, std::size_t size, const Pump& pump);

  // The first value of a response header, trimmed of blanks; empty when
  // absent. Names compare without regard to case.
  std::string Header(const std::string& name) const;

  // The request's headers as sent, request line first, lines ending in CR LF.
  const std::string& RequestHeaders() const { return request_headers_; }

 private:
  static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self);
  static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self);
  static int OnDebug(CURL* easy, curl_infotype type, char* data, std::size_t size, void* self);

  // Runs the transfer until ready() holds or the transfer has ended.
  void Drive(const std::function<bool()>& ready, const Pump& pump);
  void CollectEnd();

  CURLM* session_;
  CURL* easy_ = nullptr;
  curl_slist* header_list_ = nullptr;
  bool attached_ = false;

  bool response_seen_ = false;  // a status line arrived
  bool headers_done_ = false;   // the headers of the final response are in
  bool ended_ = false;
  std::vector<std::string> response_headers_;
  std::string request_headers_;
  std::string pending_body_;
};

}  // namespace veilbox
