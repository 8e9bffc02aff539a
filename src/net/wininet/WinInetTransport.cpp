// HttpSession and HttpRequest over WinINet. WinINet's calls block, so each
// runs on a helper thread while the caller's event pump runs every 50 ms.
// WinINet has no limit for a whole transfer: every blocking call gets what
// is left of it as its send and receive time-out, and none starts once it
// is spent.
#include <windows.h>
#include <wininet.h>

#include <future>

#include "net/HttpTransport.h"
#include "platform/win32/WideText.h"

namespace veilbox {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kWaitSlice = std::chrono::milliseconds(50);

// Runs a blocking call on a helper thread, pumping events until it returns.
template <class Call>
BOOL Blocking(const HttpRequest::Pump& pump, Call call) {
  std::future<BOOL> done = std::async(std::launch::async, call);
  while (done.wait_for(kWaitSlice) != std::future_status::ready) pump();
  return done.get();
}

bool SetOption(HINTERNET handle, DWORD option, DWORD value) {
  return InternetSetOptionW(handle, option, &value, sizeof value) != 0;
}

}  // namespace

struct HttpSession::Impl {
  explicit Impl(HINTERNET h) : internet(h) {}
  ~Impl() { InternetCloseHandle(internet); }
  HINTERNET internet;
};

HttpSession::HttpSession(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
HttpSession::~HttpSession() = default;

std::unique_ptr<HttpSession> HttpSession::Open() {
  HINTERNET internet =
      InternetOpenW(L"http protocol", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
  if (!internet) return nullptr;
  return std::unique_ptr<HttpSession>(new HttpSession(std::make_unique<Impl>(internet)));
}

struct HttpRequest::Impl {
  explicit Impl(HINTERNET i) : internet(i) {}
  ~Impl() {
    if (request) InternetCloseHandle(request);
    if (connection) InternetCloseHandle(connection);
  }

  // Gives the next blocking call the time left; false when none is.
  bool TimeLeft() {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    const DWORD ms = static_cast<DWORD>(left);
    return SetOption(request, INTERNET_OPTION_SEND_TIMEOUT, ms) &&
           SetOption(request, INTERNET_OPTION_RECEIVE_TIMEOUT, ms);
  }

  HINTERNET internet;
  HINTERNET connection = nullptr;
  HINTERNET request = nullptr;
  Clock::time_point deadline;
  bool ended = false;
  bool broke_off = false;  // a read failed or ran out of time
};

HttpRequest::HttpRequest(HttpSession& session)
    : impl_(std::make_unique<Impl>(session.impl().internet)) {}
HttpRequest::~HttpRequest() = default;

HttpRequest::Opened HttpRequest::Open(const std::string& server, const std::string& path,
                                      const std::vector<std::string>& header_lines,
                                      std::chrono::milliseconds connect_timeout,
                                      std::chrono::milliseconds whole_timeout) {
  Impl& r = *impl_;
  std::string host = server;
  INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT;
  if (const std::size_t colon = server.rfind(':'); colon != std::string::npos) {
    host = server.substr(0, colon);
    const std::string digits = server.substr(colon + 1);
    if (digits.empty() || digits.size() > 5 ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
      return Opened::ConnectFailed;
    }
    port = static_cast<INTERNET_PORT>(std::stoul(digits));
  }
  r.connection = InternetConnectW(r.internet, win32::Widen(host).c_str(), port, nullptr, nullptr,
                                  INTERNET_SERVICE_HTTP, 0, 0);
  if (!r.connection) return Opened::ConnectFailed;
  SetOption(r.connection, INTERNET_OPTION_CONNECT_TIMEOUT,
            static_cast<DWORD>(connect_timeout.count()));
  const std::wstring object = win32::Widen(path.empty() ? "/" : path);
  r.request = HttpOpenRequestW(r.connection, L"GET", object.c_str(), L"HTTP/1.0", nullptr, nullptr,
                               INTERNET_FLAG_RELOAD, 0);
  if (!r.request) return Opened::RequestFailed;
  for (const std::string& line : header_lines) {
    if (line.back() == ':') continue;  // WinINet adds no such header of its own
    HttpAddRequestHeadersW(r.request, win32::Widen(line).c_str(), static_cast<DWORD>(-1),
                           HTTP_ADDREQ_FLAG_ADD_IF_NEW);
  }
  r.deadline = Clock::now() + whole_timeout;
  return Opened::Ok;
}

bool HttpRequest::Send(const Pump& pump) {
  Impl& r = *impl_;
  if (!r.TimeLeft()) return false;
  HINTERNET request = r.request;
  return Blocking(pump, [request] { return HttpSendRequestW(request, nullptr, 0, nullptr, 0); });
}

std::size_t HttpRequest::Read(char* buffer, std::size_t size, const Pump& pump) {
  Impl& r = *impl_;
  std::size_t got = 0;
  while (got < size && !r.ended) {
    DWORD n = 0;
    HINTERNET request = r.request;
    char* into = buffer + got;
    const DWORD wanted = static_cast<DWORD>(size - got);
    if (!r.TimeLeft() ||
        !Blocking(pump, [=, &n] { return InternetReadFile(request, into, wanted, &n); })) {
      r.ended = r.broke_off = true;
    } else if (n == 0) {
      r.ended = true;
    }
    got += n;
  }
  return got;
}

bool HttpRequest::BrokeOff() const {
  return impl_->broke_off;
}

std::string HttpRequest::Header(const std::string& name) const {
  wchar_t value[1024] = {};
  const std::wstring wide_name = win32::Widen(name);
  if (wide_name.size() >= std::size(value)) return "";
  wide_name.copy(value, wide_name.size());
  DWORD length = sizeof value, index = 0;
  if (!HttpQueryInfoW(impl_->request, HTTP_QUERY_CUSTOM, value, &length, &index)) return "";
  return TrimBlanks(win32::Narrow(std::wstring(value, length / sizeof(wchar_t))));
}

std::string HttpRequest::RequestHeaders() const {
  const DWORD level = HTTP_QUERY_FLAG_REQUEST_HEADERS | HTTP_QUERY_RAW_HEADERS_CRLF;
  DWORD length = 0;
  HttpQueryInfoW(impl_->request, level, nullptr, &length, nullptr);
  std::wstring headers(length / sizeof(wchar_t) + 1, L'\0');
  length = static_cast<DWORD>(headers.size() * sizeof(wchar_t));
  if (!HttpQueryInfoW(impl_->request, level, headers.data(), &length, nullptr)) return "";
  headers.resize(length / sizeof(wchar_t));
  return win32::Narrow(headers);
}

}  // namespace veilbox
