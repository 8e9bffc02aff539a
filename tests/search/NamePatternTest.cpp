#include "search/NamePattern.h"

#include <gtest/gtest.h>

#include <tuple>

#include "diag/Failure.h"

namespace veilbox {
namespace {

TEST(NamePattern, ListingAndExactCaseRulesAndMalformedBrackets) {
  // Name, pattern, then what the listing and the exact test say.
  const std::tuple<const char*, const char*, bool, bool> cases[] = {
      {"b", "*.*", true, false},  // only the exact test needs the dot
      {".x", "*.*", true, true},
      {"A.TXT", "*.txt", true, false},
      {"xaxxb", "*a*b", true, true},
      {"a\xC3\xA9z", "a?z", true, true},   // "?" takes a character, not a byte
      {"\xFF", "?", true, true},           // and a stray byte is one character
      {"\xFF", "\xC3\xBF", false, false},  // but not the letter U+00FF
      {"v1.txt", "v#.txt", false, true},
      {"v#.txt", "v#.txt", true, false},
      {"bx", "[a-c]x", false, true},
      {"Bx", "[a-c]x", false, false},
      {"[A-C]x", "[a-c]x", true, false},
      {"dx", "[!a-c]x", false, true},
      {"b", "[axz]", false, false},  // a range needs its "-"
      {"-", "[a-]", false, true},    // and a "-" at the end stands for itself
      {"*", "[*]", false, true},
      {"ab", "a[]b", false, true},
      {"abc", "abc*", true, true},
      {"abc", "abc", true, true},  // in the freed tokens of "abc*": nothing past the end is read
  };
  for (const auto& [name, pattern, by_listing, exact] : cases) {
    EXPECT_EQ(MatchesListingPattern(name, pattern), by_listing) << name << " " << pattern;
    EXPECT_EQ(MatchesExactPattern(name, pattern), exact) << name << " " << pattern;
  }
  // A malformed bracket raises in the exact test.
  EXPECT_THROW(MatchesExactPattern("a", "[abc"), Failure);
  EXPECT_THROW(MatchesExactPattern("a", "[c-a]"), Failure);
}

}  // namespace
}  // namespace veilbox
