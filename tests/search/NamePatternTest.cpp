#include "search/NamePattern.h"

#include <gtest/gtest.h>

#include "diag/Failure.h"

namespace veilbox {
namespace {

struct Case {
  const char* name;
  const char* pattern;
  bool by_listing;  // expected from MatchesListingPattern
  bool exact;       // expected from MatchesExactPattern
};

TEST(NamePattern, ListingAndExactCaseRulesAndMalformedBrackets) {
  const Case cases[] = {
      {"b", "*.*", true, false},  // only the exact test needs the dot
      {".x", "*.*", true, true},
      {"A.TXT", "*.txt", true, false},
      {"xaxxb", "*a*b", true, true},
      {"a\xC3\xA9z", "a?z", true, true},  // "?" takes a character, not a byte
      {"\xFF", "?", true, true},          // and a stray byte is one character
      {"v1.txt", "v#.txt", false, true},
      {"v#.txt", "v#.txt", true, false},
      {"bx", "[a-c]x", false, true},
      {"Bx", "[a-c]x", false, false},
      {"[A-C]x", "[a-c]x", true, false},
      {"dx", "[!a-c]x", false, true},
      {"*", "[*]", false, true},
      {"ab", "a[]b", false, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchesListingPattern(c.name, c.pattern), c.by_listing) << c.name << " " << c.pattern;
    EXPECT_EQ(MatchesExactPattern(c.name, c.pattern), c.exact) << c.name << " " << c.pattern;
  }
  // A malformed bracket raises in the exact test.
  EXPECT_THROW(MatchesExactPattern("a", "[abc"), Failure);
  EXPECT_THROW(MatchesExactPattern("a", "[c-a]"), Failure);
}

}  // namespace
}  // namespace veilbox
