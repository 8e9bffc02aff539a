#include "gui/PassProgress.h"

namespace veilbox {

std::string GroupedDigits(long number) {
  std::string digits = std::to_string(number < 0 ? -number : number);
  for (auto at = static_cast<long>(digits.size()) - 3; at > 0; at -= 3) {
    digits.insert(static_cast<size_t>(at), ",");
  }
  return number < 0 ? "-" + digits : digits;
}

PassProgress::Shown PassProgress::Begin(const std::string& folder) {
  folder_ = folder;
  last_permille_ = -1;
  return {0, 0, verb_ + " " + folder_};
}

std::optional<PassProgress::Shown> PassProgress::Progress(long value, long maximum) {
  if (maximum <= 0) return std::nullopt;
  const long permille = static_cast<long>(static_cast<long long>(value) * 1000 / maximum);
  if (permille == last_permille_ && value != maximum) return std::nullopt;
  last_permille_ = permille;
  std::string line = verb_ + " " + folder_ + ": " + GroupedDigits(value) + " of " +
                     GroupedDigits(maximum) + (maximum == 1 ? " file" : " files");
  return Shown{value, maximum, std::move(line)};
}

PassProgress::Shown PassProgress::End() {
  folder_.clear();
  last_permille_ = -1;
  return {};
}

}  // namespace veilbox
