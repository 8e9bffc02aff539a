#include "search/NamePattern.h"

#include <utility>
#include <vector>

#include "diag/Failure.h"

namespace veilbox {
namespace {

// Error number of a malformed exact-case pattern.
constexpr long kInvalidPatternString = 93;

// Names and patterns are compared by character, not by byte, so that "?"
// takes one whole UTF-8 character. A byte that is not part of a valid
// sequence becomes a code point of its own that no real character uses.
std::u32string Decode(const std::string& text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const int extra = (lead & 0xE0) == 0xC0   ? 1
                      : (lead & 0xF0) == 0xE0 ? 2
                      : (lead & 0xF8) == 0xF0 ? 3
                                              : 0;
    char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    bool valid = lead < 0x80 || (extra > 0 && i + extra < text.size());
    for (int k = 1; valid && k <= extra; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    if (valid) {
      out.push_back(code);
      i += extra + 1;
    } else {
      out.push_back(0xDC00 + lead);
      ++i;
    }
  }
  return out;
}

struct Token {
  enum Kind { kLiteral, kAnyOne, kAnyRun, kDigit, kSet };
  explicit Token(Kind k, char32_t c = 0) : kind(k), literal(c) {}

  Kind kind;
  char32_t literal;
  bool negated = false;
  std::vector<std::pair<char32_t, char32_t>> ranges;
};

char32_t FoldCase(char32_t c) {
  return c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c;
}

bool Accepts(const Token& token, char32_t c, bool ignore_case) {
  switch (token.kind) {
    case Token::kLiteral:
      return ignore_case ? FoldCase(token.literal) == FoldCase(c) : token.literal == c;
    case Token::kDigit:
      return c >= U'0' && c <= U'9';
    case Token::kSet: {
      bool in_set = false;
      for (const auto& [low, high] : token.ranges) in_set = in_set || (c >= low && c <= high);
      return in_set != token.negated;
    }
    default:
      return true;
  }
}

// Every token but a run takes exactly one character, so backtracking to the
// last run is enough.
bool Match(const std::vector<Token>& pattern, const std::u32string& name, bool ignore_case) {
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t run = std::u32string::npos;
  std::size_t run_start = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p].kind == Token::kAnyRun) {
      run = p++;
      run_start = n;
    } else if (p < pattern.size() && Accepts(pattern[p], name[n], ignore_case)) {
      ++p;
      ++n;
    } else if (run != std::u32string::npos) {
      p = run + 1;
      n = ++run_start;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p].kind == Token::kAnyRun) ++p;
  return p == pattern.size();
}

std::vector<Token> ListingTokens(const std::u32string& pattern) {
  std::vector<Token> tokens;
  for (char32_t c : pattern) {
    if (c == U'*') {
      tokens.emplace_back(Token::kAnyRun);
    } else if (c == U'?') {
      tokens.emplace_back(Token::kAnyOne);
    } else {
      tokens.emplace_back(Token::kLiteral, c);
    }
  }
  return tokens;
}

Token SetToken(const std::u32string& list) {
  Token token(Token::kSet);
  std::size_t i = 0;
  if (!list.empty() && list[0] == U'!') {
    token.negated = true;
    i = 1;
  }
  while (i < list.size()) {
    if (i + 2 < list.size() && list[i + 1] == U'-') {
      if (list[i + 2] < list[i]) Raise(kInvalidPatternString, "Invalid pattern string");
      token.ranges.emplace_back(list[i], list[i + 2]);
      i += 3;
    } else {
      token.ranges.emplace_back(list[i], list[i]);
      ++i;
    }
  }
  return token;
}

std::vector<Token> ExactTokens(const std::u32string& pattern) {
  std::vector<Token> tokens;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char32_t c = pattern[i];
    if (c == U'*') {
      tokens.emplace_back(Token::kAnyRun);
    } else if (c == U'?') {
      tokens.emplace_back(Token::kAnyOne);
    } else if (c == U'#') {
      tokens.emplace_back(Token::kDigit);
    } else if (c == U'[') {
      const std::size_t close = pattern.find(U']', i + 1);
      if (close == std::u32string::npos) Raise(kInvalidPatternString, "Invalid pattern string");
      const std::u32string list = pattern.substr(i + 1, close - i - 1);
      if (!list.empty()) tokens.push_back(SetToken(list));  // "[]" matches no character
      i = close;
    } else {
      tokens.emplace_back(Token::kLiteral, c);
    }
  }
  return tokens;
}

}  // namespace

bool MatchesListingPattern(const std::string& name, const std::string& pattern) {
  if (pattern == "*.*") return true;
  return Match(ListingTokens(Decode(pattern)), Decode(name), true);
}

bool MatchesExactPattern(const std::string& name, const std::string& pattern) {
  return Match(ExactTokens(Decode(pattern)), Decode(name), false);
}

}  // namespace veilbox
