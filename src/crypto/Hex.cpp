#include "crypto/Hex.h"

#include <algorithm>
#include <array>

namespace veilbox {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";
constexpr std::size_t kGroupChars = 32;  // one 16-byte block
constexpr std::size_t kGap = 2;          // spaces between blocks

int DigitValue(std::uint32_t c) {
  if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
  return -1;
}

// Each byte's value as an uppercase hexadecimal digit, or -1: the only
// digits HexDisplay writes.
constexpr std::array<std::int8_t, 256> kUpperDigitValue = [] {
  std::array<std::int8_t, 256> values{};
  values.fill(-1);
  for (int c = '0'; c <= '9'; ++c) values[c] = static_cast<std::int8_t>(c - '0');
  for (int c = 'A'; c <= 'F'; ++c) values[c] = static_cast<std::int8_t>(c - 'A' + 10);
  return values;
}();

// The character starting at text[i] and its length in bytes. Valid UTF-8
// sequences give their code point; any other byte stands for itself.
std::uint32_t NextChar(const std::string& text, std::size_t i, std::size_t& length) {
  const auto byte = [&](std::size_t j) { return static_cast<unsigned char>(text[j]); };
  const unsigned char lead = byte(i);
  length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  if (length == 1 || lead > 0xF4 || i + length > text.size()) {
    length = 1;
    return lead;
  }
  std::uint32_t code = lead & (0x7F >> length);
  for (std::size_t j = 1; j < length; ++j) {
    if ((byte(i + j) & 0xC0) != 0x80) {
      length = 1;
      return lead;
    }
    code = (code << 6) | (byte(i + j) & 0x3F);
  }
  return code;
}

}  // namespace

std::string HexDisplay(const std::vector<std::uint8_t>& data, std::size_t n, std::size_t k) {
  n = std::min(n, data.size());
  if (n == 0) return {};
  const std::size_t gaps = k == 0 ? 0 : (n - 1) / k;
  std::string text(2 * n + kGap * gaps, ' ');
  char* out = text.data();
  for (std::size_t i = 0; i < n; ++i) {
    if (k != 0 && i > 0 && i % k == 0) out += kGap;
    *out++ = kDigits[data[i] >> 4];
    *out++ = kDigits[data[i] & 0x0F];
  }
  return text;
}

// A character counts as a digit by the low 8 bits of its code, so a
// character beyond U+00FF can stand for the digit with the same low byte.
std::size_t HexDisplayRev(const std::string& text, std::vector<std::uint8_t>& data) {
  data.clear();
  data.reserve(text.size() / 2);
  int high = -1;
  std::size_t length = 1;
  for (std::size_t i = 0; i < text.size(); i += length) {
    const int digit = DigitValue(NextChar(text, i, length) & 0xFF);
    if (digit < 0) continue;
    if (high < 0) {
      high = digit;
    } else {
      data.push_back(static_cast<std::uint8_t>(high << 4 | digit));
      high = -1;
    }
  }
  return data.size();
}

bool ReadBlockHex(const std::string& text, std::vector<std::uint8_t>& data) {
  constexpr std::size_t kPeriod = kGroupChars + kGap;
  data.clear();
  if (text.empty() || (text.size() + kGap) % kPeriod != 0) return false;
  const std::size_t blocks = (text.size() + kGap) / kPeriod;
  data.resize(blocks * kGroupChars / 2);
  std::uint8_t* out = data.data();
  for (std::size_t b = 0; b < blocks; ++b) {
    const char* group = text.data() + b * kPeriod;
    if (b > 0 && (group[-1] != ' ' || group[-2] != ' ')) return false;
    for (std::size_t i = 0; i < kGroupChars; i += 2) {
      const int high = kUpperDigitValue[static_cast<unsigned char>(group[i])];
      const int low = kUpperDigitValue[static_cast<unsigned char>(group[i + 1])];
      if ((high | low) < 0) return false;
      *out++ = static_cast<std::uint8_t>(high << 4 | low);
    }
  }
  return true;
}

}  // namespace veilbox
