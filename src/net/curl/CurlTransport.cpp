// HttpSession and HttpRequest over libcurl's multi interface: the transfer
// advances in slices of at most 50 ms, between which the event pump runs.
#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "net/HttpTransport.h"

namespace veilbox {
namespace {

// How long one wait on the network lasts before the event pump runs.
constexpr int kWaitSliceMs = 50;

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

// libcurl's process-wide set-up, done once before the first session.
bool CurlReady() {
  static const bool ready = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  return ready;
}

}  // namespace

struct HttpSession::Impl {
  explicit Impl(CURLM* m) : multi(m) {}
  ~Impl() { curl_multi_cleanup(multi); }
  CURLM* multi;
};

HttpSession::HttpSession(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
HttpSession::~HttpSession() = default;

std::unique_ptr<HttpSession> HttpSession::Open() {
  CURLM* multi = CurlReady() ? curl_multi_init() : nullptr;
  if (!multi) return nullptr;
  return std::unique_ptr<HttpSession>(new HttpSession(std::make_unique<Impl>(multi)));
}

struct HttpRequest::Impl {
  explicit Impl(CURLM* m) : multi(m) {}
  ~Impl() {
    if (attached) curl_multi_remove_handle(multi, easy);
    if (easy) curl_easy_cleanup(easy);
    curl_slist_free_all(header_list);
  }

  static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self);
  static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self);
  static int OnDebug(CURL* easy, curl_infotype type, char* data, std::size_t size, void* self);

  // Runs the transfer until ready() holds or the transfer has ended.
  void Drive(const std::function<bool()>& ready, const Pump& pump);
  void CollectEnd();

  CURLM* multi;
  CURL* easy = nullptr;
  curl_slist* header_list = nullptr;
  bool attached = false;

  bool response_seen = false;  // a status line arrived
  bool headers_done = false;   // the headers of the final response are in
  bool ended = false;
  bool broke_off = false;  // the transfer ended with an error
  std::vector<std::string> response_headers;
  std::string request_headers;
  std::string pending_body;
};

HttpRequest::HttpRequest(HttpSession& session)
    : impl_(std::make_unique<Impl>(session.impl().multi)) {}
HttpRequest::~HttpRequest() = default;

HttpRequest::Opened HttpRequest::Open(const std::string& server, const std::string& path,
                                      const std::vector<std::string>& header_lines,
                                      std::chrono::milliseconds connect_timeout,
                                      std::chrono::milliseconds whole_timeout) {
  Impl& r = *impl_;
  r.easy = curl_easy_init();
  if (!r.easy) return Opened::RequestFailed;
  for (const auto& line : header_lines) {
    curl_slist* grown = curl_slist_append(r.header_list, line.c_str());
    if (!grown) return Opened::RequestFailed;
    r.header_list = grown;
  }
  // An empty path goes out as "/", the form HTTP gives it in a request.
  const std::string url = "http://" + server + path;
  CURL* easy = r.easy;
  const bool set =
      curl_easy_setopt(easy, CURLOPT_URL, url.c_str()) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http") == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, long{CURL_HTTP_VERSION_1_0}) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_HTTPHEADER, r.header_list) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, long(connect_timeout.count())) ==
          CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, long(whole_timeout.count())) == CURLE_OK &&
      // Signals for time-outs would reach the whole process.
      curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Impl::OnBody) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_WRITEDATA, &r) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Impl::OnHeader) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_HEADERDATA, &r) == CURLE_OK &&
      // The request's headers as sent are only handed out to a debug callback,
      // which libcurl calls in verbose mode; nothing is printed.
      curl_easy_setopt(easy, CURLOPT_DEBUGFUNCTION, &Impl::OnDebug) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_DEBUGDATA, &r) == CURLE_OK &&
      curl_easy_setopt(easy, CURLOPT_VERBOSE, 1L) == CURLE_OK;
  if (!set) return Opened::RequestFailed;
  r.attached = curl_multi_add_handle(r.multi, easy) == CURLM_OK;
  return r.attached ? Opened::Ok : Opened::RequestFailed;
}

bool HttpRequest::Send(const Pump& pump) {
  impl_->Drive([this] { return impl_->headers_done; }, pump);
  return impl_->response_seen;
}

std::size_t HttpRequest::Read(char* buffer, std::size_t size, const Pump& pump) {
  std::string& pending = impl_->pending_body;
  impl_->Drive([&pending, size] { return pending.size() >= size; }, pump);
  const std::size_t n = std::min(size, pending.size());
  std::memcpy(buffer, pending.data(), n);
  pending.erase(0, n);
  return n;
}

bool HttpRequest::BrokeOff() const {
  return impl_->broke_off;
}

std::string HttpRequest::Header(const std::string& name) const {
  for (const auto& line : impl_->response_headers) {
    const std::size_t colon = line.find(':');
    if (colon != std::string::npos && SameName(line.substr(0, colon), name)) {
      return TrimBlanks(line.substr(colon + 1));
    }
  }
  return "";
}

std::string HttpRequest::RequestHeaders() const {
  return impl_->request_headers;
}

void HttpRequest::Impl::Drive(const std::function<bool()>& ready, const Pump& pump) {
  while (!ready() && !ended) {
    int running = 0;
    if (curl_multi_perform(multi, &running) != CURLM_OK) {
      ended = broke_off = true;
      return;
    }
    CollectEnd();
    if (ready() || ended) return;
    curl_multi_poll(multi, nullptr, 0, kWaitSliceMs, nullptr);
    pump();
  }
}

// A failed transfer delivers no more body, and says it broke off.
void HttpRequest::Impl::CollectEnd() {
  int left = 0;
  while (CURLMsg* message = curl_multi_info_read(multi, &left)) {
    if (message->msg == CURLMSG_DONE && message->easy_handle == easy) {
      ended = true;
      broke_off = message->data.result != CURLE_OK;
    }
  }
}

std::size_t HttpRequest::Impl::OnBody(char* data, std::size_t size, std::size_t count, void* self) {
  return Guarded(size * count,
                 [&] { static_cast<Impl*>(self)->pending_body.append(data, size * count); });
}

std::size_t HttpRequest::Impl::OnHeader(char* data, std::size_t size, std::size_t count,
                                        void* self) {
  return Guarded(size * count, [&] {
    auto& request = *static_cast<Impl*>(self);
    std::string line(data, size * count);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (line.starts_with("HTTP/")) {
      request.response_seen = true;
      request.headers_done = false;
      request.response_headers.clear();
    } else if (line.empty()) {
      request.headers_done = true;
    } else {
      request.response_headers.push_back(std::move(line));
    }
  });
}

int HttpRequest::Impl::OnDebug(CURL*, curl_infotype type, char* data, std::size_t size,
                               void* self) {
  if (type != CURLINFO_HEADER_OUT) return 0;
  Guarded(size, [&] { static_cast<Impl*>(self)->request_headers.assign(data, size); });
  return 0;  // libcurl asks for 0 whatever happened
}

}  // namespace veilbox
