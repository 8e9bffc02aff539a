#include "net/clsHTTP.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <limits>
#include <optional>
#include <vector>

#include "crypto/BinaryFile.h"
#include "diag/Failure.h"
#include "platform/Codec.h"

namespace veilbox {
namespace {

constexpr std::size_t kReadSize = 2048;
constexpr long kOverflow = 6;

// Identifies the client and keeps proxies from answering out of their cache.
// "Accept:" keeps the HTTP library from adding a header of its own.
const std::vector<std::string> kStandardHeaders = {"User-Agent: http protocol", "Pragma: no-cache",
                                                   "Cache-Control: no-cache", "Accept:"};

std::string HeaderName(const std::string& line) {
  std::string name = line.substr(0, line.find(':'));
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

// The standard headers, then each line of the additional header whose name
// the request does not carry yet.
std::vector<std::string> RequestHeaderLines(const std::string& additional_header) {
  std::vector<std::string> lines = kStandardHeaders;
  std::vector<std::string> names = {"host"};
  for (const auto& line : lines) {
    if (line.back() != ':') names.push_back(HeaderName(line));
  }
  std::size_t start = 0;
  while (start < additional_header.size()) {
    std::size_t end = additional_header.find('\n', start);
    if (end == std::string::npos) end = additional_header.size();
    std::string line = additional_header.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find(':') == std::string::npos) continue;
    const std::string name = HeaderName(line);
    if (std::find(names.begin(), names.end(), name) != names.end()) continue;
    names.push_back(name);
    lines.push_back(line);
  }
  return lines;
}

// The leading decimal number of a header value; 0 without one.
std::int32_t LeadingInt32(const std::string& text) {
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
    if (value > std::numeric_limits<std::int32_t>::max()) Raise(kOverflow, "Overflow");
  }
  return static_cast<std::int32_t>(value);
}

void RemoveFile(const std::string& name) {
  errno = 0;
  if (std::remove(name.c_str()) != 0) RaiseErrno(errno != 0 ? errno : EIO, name);
}

}  // namespace

clsHTTP::clsHTTP(UserNotices& notices) : notices_(notices), session_(HttpSession::Open()) {
  last_error_ = session_ ? "" : "InternetOpen failed.";
}

clsHTTP::~clsHTTP() = default;

void clsHTTP::SetTimeouts(std::chrono::milliseconds connect, std::chrono::milliseconds whole) {
  connect_timeout_ = connect;
  whole_timeout_ = whole;
}

bool clsHTTP::Connect(const std::string& url, const std::string& additional_header) {
  bool sent = false;
  Trap(notices_, [&] {
    std::string address = url;
    if (address.starts_with("http://")) address.erase(0, 7);
    const std::size_t slash = address.find('/');
    const std::string server = address.substr(0, slash);
    const std::string path = slash == std::string::npos ? "" : address.substr(slash);
    request_.reset();

    if (!session_) {
      last_error_ = "InternetSession failed";
      return;
    }
    if (server.empty()) {
      last_error_ = "InternetConnect failed";
      return;
    }
    auto request = std::make_unique<HttpRequest>(*session_);
    const HttpRequest::Opened opened = request->Open(
        server, path, RequestHeaderLines(additional_header), connect_timeout_, whole_timeout_);
    if (opened != HttpRequest::Opened::Ok) {
      last_error_ = opened == HttpRequest::Opened::ConnectFailed ? "InternetConnect failed"
                                                                 : "HttpOpenRequest failed";
      return;
    }
    if (!request->Send([this] { notices_.PumpEvents(); })) {
      last_error_ = "HttpSendRequest failed";
      return;
    }
    content_length_ = LeadingInt32(request->Header("Content-Length"));
    last_modified_ = request->Header("Last-Modified");
    forwarded_ = request->Header("Forwarded");
    sRequestHeaders = request->RequestHeaders();
    request_ = std::move(request);
    last_error_.clear();
    sent = true;
  });
  return sent;
}

bool clsHTTP::GetFile(const std::string& address, std::string& received_text,
                      const std::string& additional_header, std::size_t max_bytes) {
  return Fetch(address, additional_header, &received_text, nullptr, max_bytes);
}

bool clsHTTP::GetFileToDisk(const std::string& address, const std::string& file_name,
                            const std::string& additional_header) {
  return Fetch(address, additional_header, nullptr, &file_name,
               std::numeric_limits<std::size_t>::max());
}

bool clsHTTP::Fetch(const std::string& address, const std::string& additional_header,
                    std::string* received_text, const std::string* file_name,
                    std::size_t max_bytes) {
  if (!Connect(address, additional_header)) return false;
  const auto pump = [this] { notices_.PumpEvents(); };
  pump();
  last_error_.clear();
  std::optional<BinaryFile> file;
  try {
    if (received_text) {
      received_text->clear();
    } else {
      if (FileExist(*file_name)) RemoveFile(*file_name);
      file = BinaryFile::OpenForWriting(*file_name);
    }
    char buffer[kReadSize];
    std::size_t got = 0;
    std::size_t total = 0;
    do {
      got = request_->Read(buffer, kReadSize, pump);
      total += got;
      if (received_text) {
        *received_text += FromAnsi(std::string(buffer, got));
      } else {
        file->Write(reinterpret_cast<const std::uint8_t*>(buffer), got);
      }
      pump();
    } while (got > 0 && total <= max_bytes);
    // Some transports end a body the server closed early without an error:
    // fewer bytes than its declared length is a break all the same.
    const bool broke_off = request_->BrokeOff() || total < static_cast<std::size_t>(std::max(
                                                               ContentLength(), std::int32_t{0}));
    request_.reset();
    if (file) {
      file->Close();
      // A file cut short is not the document: nothing of it stays.
      if (broke_off) {
        RemoveFile(*file_name);
        last_error_ = kCutShort;
        return false;
      }
    }
    if (total > max_bytes) last_error_ = kTooLong;
    return total <= max_bytes;
  } catch (const std::exception&) {
    file.reset();
    request_.reset();
    notices_.Tell("Could not retrieve latest version", "Error", Icon::Exclamation);
    return false;
  }
}

bool clsHTTP::FileExist(const std::string& file_name) const {
  try {
    FileLength(file_name);
    return true;
  } catch (const Failure&) {
    return false;
  }
}

}  // namespace veilbox
