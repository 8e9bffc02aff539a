#include "cli/TerminalText.h"

#include <algorithm>
#include <cstdio>

namespace veilbox::cli {
namespace {

enum class Lines { Keep, Escape };

void AppendHex(std::string& out, unsigned char byte) {
  char text[5];
  std::snprintf(text, sizeof text, "\\x%02x", byte);
  out += text;
}

// The length of the UTF-8 sequence that starts text, or 0 when text does
// not start with a whole, well-formed one.
size_t SequenceLength(std::string_view text) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  size_t length;
  unsigned char low = 0x80, high = 0xbf;  // the second byte's range
  if (lead >= 0xc2 && lead <= 0xdf) {
    length = 2;
  } else if (lead >= 0xe0 && lead <= 0xef) {
    length = 3;
    if (lead == 0xe0) low = 0xa0;   // no overlong form
    if (lead == 0xed) high = 0x9f;  // no surrogate
  } else if (lead >= 0xf0 && lead <= 0xf4) {
    length = 4;
    if (lead == 0xf0) low = 0x90;
    if (lead == 0xf4) high = 0x8f;
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xbf) return 0;
  }
  return length;
}

std::string Escaped(std::string_view text, Lines lines, bool escape_backslash) {
  // Most text needs no escape at all.
  if (std::none_of(text.begin(), text.end(), [&](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b >= 0x7f || (c == '\\' && escape_backslash);
      })) {
    return std::string(text);
  }
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      const size_t length = SequenceLength(text.substr(i));
      // U+0080 to U+009F, the C1 controls, are 0xc2 0x80 to 0xc2 0x9f.
      if (length == 0 || (c == 0xc2 && static_cast<unsigned char>(text[i + 1]) < 0xa0)) {
        AppendHex(out, c);
        ++i;
      } else {
        out.append(text.substr(i, length));
        i += length;
      }
      continue;
    }
    ++i;
    if (lines == Lines::Keep && c == '\r' && i < text.size() && text[i] == '\n') continue;
    if (lines == Lines::Keep && c == '\n') {
      out += '\n';
    } else if (c == '\\' && escape_backslash) {
      out += "\\\\";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c < 0x20 || c == 0x7f) {
      AppendHex(out, c);
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace

std::string OneLine(std::string_view text, char separator) {
  return Escaped(text, Lines::Escape, separator != '\\');
}

std::string ForTerminal(std::string_view message) {
  return Escaped(message, Lines::Keep, false);
}

}  // namespace veilbox::cli
