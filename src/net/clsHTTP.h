// clsHTTP: fetches one document with a plain HTTP/1.0 GET, into text or into
// a file. The request always goes to the server itself, never to a cache, and
// the front end's events run while it waits on the network.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>

#include "diag/UserNotices.h"
#include "net/HttpTransport.h"

namespace veilbox {

class clsHTTP {
 public:
  static constexpr std::chrono::milliseconds kConnectTimeout{5000};
  static constexpr std::chrono::milliseconds kWholeTimeout{10000};

  explicit clsHTTP(UserNotices& notices);
  ~clsHTTP();
  clsHTTP(const clsHTTP&) = delete;
  clsHTTP& operator=(const clsHTTP&) = delete;

  // The last request's headers as sent, request line first, CR LF after
  // each line.
  std::string sRequestHeaders;

  // Sends a GET for url ("http://" optional; host, optionally ":port", then
  // the path; no "/" asks for the empty path). Lines of additional_header
  // are added unless the request has a header of that name already. True
  // when a response arrived, whatever its status; otherwise LastError says
  // what failed.
  bool Connect(const std::string& url, const std::string& additional_header = {});

  // What LastError says after GetFile met a document longer than it takes,
  // and after GetFileToDisk's transfer broke off.
  static constexpr const char* kTooLong = "Document too long";
  static constexpr const char* kCutShort = "Transfer cut short";

  // Fetch the document at address, reading 2048 bytes at a time. False when
  // Connect failed (nothing shown), a failure while reading was shown to the
  // user, or the document is longer than max_bytes (nothing shown; reading
  // stops within 2048 bytes after max_bytes); the text then holds what had
  // arrived. A transfer that breaks off after some data ends the document
  // there.
  bool GetFile(const std::string& address, std::string& received_text,
               const std::string& additional_header = {},
               std::size_t max_bytes = std::numeric_limits<std::size_t>::max());
  // As GetFile, but the document replaces the named file. A transfer that
  // breaks off leaves no file and returns false.
  bool GetFileToDisk(const std::string& address, const std::string& file_name,
                     const std::string& additional_header = {});

  // True when the file's length can be read.
  bool FileExist(const std::string& file_name) const;

  // Values of the last response: the leading number of its Content-Length
  // (0 when absent) and its Last-Modified and Forwarded headers.
  std::int32_t ContentLength() const { return content_length_; }
  const std::string& LastModified() const { return last_modified_; }
  const std::string& Forwarded() const { return forwarded_; }
  // What the last operation failed at; empty after success.
  const std::string& LastError() const { return last_error_; }

  // Limits for connecting and for the whole transfer of later requests.
  void SetTimeouts(std::chrono::milliseconds connect, std::chrono::milliseconds whole);

 private:
  bool Fetch(const std::string& address, const std::string& additional_header,
             std::string* received_text, const std::string* file_name, std::size_t max_bytes);

  UserNotices& notices_;
  std::unique_ptr<HttpSession> session_;
  std::unique_ptr<HttpRequest> request_;  // after session_: it must go first
  std::chrono::milliseconds connect_timeout_ = kConnectTimeout;
  std::chrono::milliseconds whole_timeout_ = kWholeTimeout;

  std::string last_error_;
  std::int32_t content_length_ = 0;
  std::string last_modified_;
  std::string forwarded_;
};

}  // namespace veilbox
