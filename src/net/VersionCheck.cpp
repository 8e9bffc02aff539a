#include "net/VersionCheck.h"

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

}  // namespace

bool RunVersionCheck(AppState& state) {
  if (state.UpdateURL.empty()) return false;
  clsHTTP CheckVersion(state.dialogue, state.reporter);
  std::string text;
  CheckVersion.GetFile(state.UpdateURL, text);

  const std::vector<std::string> DataArray = SplitString(text, ',');
  if (LeadingNumber(DataArray[0]) <= LeadingNumber(state.CurrentVersion)) return false;
  const std::string& address = Field(DataArray, 1);
  const Answer answer = state.dialogue.Ask(
      "New version is available at: " + address + ". Do you wish to go there now?", "New Version",
      Icon::Information, Buttons::YesNoCancel);
  if (answer == Answer::Yes) state.dialogue.OpenAddress(address);
  return Field(DataArray, 2) == "must-download";
}

}  // namespace veilbox
