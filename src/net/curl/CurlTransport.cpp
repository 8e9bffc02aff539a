#include "net/CurlRequest.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace veilbox {
namespace {

// How long one wait on the network lasts before the event pump runs.
constexpr int kWaitSliceMs = 50;

std::string TrimBlanks(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Callbacks run inside libcurl's C code, which nothing may be thrown
// through. Returning other than the count handed in stops the transfer.
template <class Op>
std::size_t Guarded(std::size_t count, Op&& op) noexcept {
  try {
    op();
    return count;
  } catch (...) {
    return 0;
  }
}

bool SameName(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

CurlRequest::~CurlRequest() {
  if (attached_) curl_multi_remove_handle(session_, easy_);
  if (easy_) curl_easy_cleanup(easy_);
  curl_slist_free_all(header_list_);
}

bool CurlRequest::Open(const std::string& url, const std::vector<std::string>& header_lines,
                       std::chrono::milliseconds connect_timeout,
                       std::chrono::milliseconds whole_timeout) {
  easy_ = curl_easy_init();
  if (!easy_) return false;
  for (const auto& line : header_lines) {
    curl_slist* grown = curl_slist_append(header_list_, line.c_str());
    if (!grown) return false;
    header_list_ = grown;
  }
  const bool set =
      curl_easy_setopt(easy_, CURLOPT_URL, url.c_str()) == CURLE_OK &&
      curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http") == CURLE_OK &&
      curl_easy_setopt(easy_, CURLOPT_HTTPGET, 1L) == CURLE_OK &&
      curl_easy_setopt(easy_, CURLOPT_HTTP_VERSION, long{CURL_HTTP_VERSION_1_0}) == CURLE_OK &&
      curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, header_list_) == CURLE_OK &&
      curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS, long(connect_timeout.count())) ==
          CURLE_OK &&
      curl_easy_setopt(easy_, CURLOPT_TIMEOUT_MS, long(whole_timeout.count())) == CURLE_OK &&
      // Signals for time-outs would reach the whole process.
      curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
      curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlRequest::OnBody) == CURLE_OK &&
      curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this) == CURLE_OK &&
      curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &CurlRequest::OnHeader) == CURLE_OK &&
      curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this) == CURLE_OK &&
      // The request's headers as sent are only handed out to a debug callback,
      // which libcurl calls in verbose mode; nothing is printed.
      curl_easy_setopt(easy_, CURLOPT_DEBUGFUNCTION, &CurlRequest::OnDebug) == CURLE_OK &&
      curl_easy_setopt(easy_, CURLOPT_DEBUGDATA, this) == CURLE_OK &&
      curl_easy_setopt(easy_, CURLOPT_VERBOSE, 1L) == CURLE_OK;
  if (!set) return false;
  attached_ = curl_multi_add_handle(session_, easy_) == CURLM_OK;
  return attached_;
}

bool CurlRequest::Send(const Pump& pump) {
  Drive([this] { return headers_done_; }, pump);
  return response_seen_;
}

std::size_t CurlRequest::Read(char* buffer, std::size_t size, const Pump& pump) {
  Drive([this, size] { return pending_body_.size() >= size; }, pump);
  const std::size_t n = std::min(size, pending_body_.size());
  std::memcpy(buffer, pending_body_.data(), n);
  pending_body_.erase(0, n);
  return n;
}

std::string CurlRequest::Header(const std::string& name) const {
  for (const auto& line : response_headers_) {
    const std::size_t colon = line.find(':');
    if (colon != std::string::npos && SameName(line.substr(0, colon), name)) {
      return TrimBlanks(line.substr(colon + 1));
    }
  }
  return "";
}

void CurlRequest::Drive(const std::function<bool()>& ready, const Pump& pump) {
  while (!ready() && !ended_) {
    int running = 0;
    if (curl_multi_perform(session_, &running) != CURLM_OK) {
      ended_ = true;
      return;
    }
    CollectEnd();
    if (ready() || ended_) return;
    curl_multi_poll(session_, nullptr, 0, kWaitSliceMs, nullptr);
    pump();
  }
}

// The transfer's outcome itself does not matter: a failed transfer simply
// delivers no more body.
void CurlRequest::CollectEnd() {
  int left = 0;
  while (CURLMsg* message = curl_multi_info_read(session_, &left)) {
    if (message->msg == CURLMSG_DONE && message->easy_handle == easy_) ended_ = true;
  }
}

std::size_t CurlRequest::OnBody(char* data, std::size_t size, std::size_t count, void* self) {
  return Guarded(size * count, [&] {
    static_cast<CurlRequest*>(self)->pending_body_.append(data, size * count);
  });
}

std::size_t CurlRequest::OnHeader(char* data, std::size_t size, std::size_t count, void* self) {
  return Guarded(size * count, [&] {
    auto& request = *static_cast<CurlRequest*>(self);
    std::string line(data, size * count);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (line.starts_with("HTTP/")) {
      request.response_seen_ = true;
      request.headers_done_ = false;
      request.response_headers_.clear();
    } else if (line.empty()) {
      request.headers_done_ = true;
    } else {
      request.response_headers_.push_back(std::move(line));
    }
  });
}

int CurlRequest::OnDebug(CURL*, curl_infotype type, char* data, std::size_t size, void* self) {
  if (type != CURLINFO_HEADER_OUT) return 0;
  Guarded(size, [&] { static_cast<CurlRequest*>(self)->request_headers_.assign(data, size); });
  return 0;  // libcurl asks for 0 whatever happened
}

}  // namespace veilbox
