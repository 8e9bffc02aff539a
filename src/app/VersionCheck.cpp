#include "app/VersionCheck.h"

#include "app/Constants.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <vector>

#include "diag/Failure.h"
#include "net/clsHTTP.h"
#include "store/TextUtil.h"

namespace veilbox {
namespace {

const std::string& Field(const std::vector<std::string>& fields, std::size_t index) {
  if (index >= fields.size()) Raise(err::kSubscriptOutOfRange, "Subscript out of range");
  return fields[index];
}

// The decimal number at the start of text ("1.05abc" gives 1.05); 0 when the
// text does not start with one.
double LeadingNumber(const std::string& text) {
  std::size_t end = 0;
  bool point = false;
  while (end < text.size() &&
         ((text[end] >= '0' && text[end] <= '9') || (text[end] == '.' && !point))) {
    point = point || text[end] == '.';
    ++end;
  }
  double value = 0;
  std::from_chars(text.data(), text.data() + end, value, std::chars_format::fixed);
  return value;
}

// Whether the desktop may open address: an http or https address (the
// scheme in any letter case) with a host, holding no blank or control
// character.
bool IsWebAddress(const std::string& address) {
  const std::size_t end = address.find("://");
  if (end == std::string::npos) return false;
  std::string scheme = address.substr(0, end);
  for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const std::string rest = address.substr(end + 3);
  const bool host = !rest.empty() && rest.find_first_of("/?#") != 0;
  const bool clean = std::none_of(address.begin(), address.end(), [](char c) {
    return static_cast<unsigned char>(c) <= ' ' || c == '\x7F';
  });
  return (scheme == "http" || scheme == "https") && host && clean;
}

// A document that is too long or offers an address that may not be opened
// is not trusted for anything, must-download included.
bool ReportDamaged(Session& session) {
  session.dialogue.Tell(kDamagedDocumentText, "Error", Icon::Exclamation);
  return false;
}

}  // namespace

bool RunVersionCheck(Session& session) {
  if (session.update_url.empty()) return false;
  clsHTTP CheckVersion(session.reporter);
  std::string text;
  if (!CheckVersion.GetFile(session.update_url, text, {}, kMaxDocumentBytes) &&
      CheckVersion.LastError() == clsHTTP::kTooLong) {
    return ReportDamaged(session);
  }
  return ActOnVersionDocument(session, text);
}

bool ActOnVersionDocument(Session& session, const std::string& document) {
  const std::vector<std::string> DataArray = SplitString(document, ',');
  if (LeadingNumber(DataArray[0]) <= LeadingNumber(kCurrentVersion)) return false;
  const std::string& address = Field(DataArray, 1);
  if (!IsWebAddress(address)) return ReportDamaged(session);
  const Answer answer = session.dialogue.Ask(ask::NewerVersion{address});
  if (answer == Answer::Yes) session.dialogue.OpenAddress(address);
  return Field(DataArray, 2) == "must-download";
}

}  // namespace veilbox
