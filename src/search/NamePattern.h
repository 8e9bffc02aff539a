// The two ways the finder matches a file name against its pattern: the way a
// directory listing selects entries, and the exact-case pattern test that a
// case-sensitive search adds on top.
#pragma once

#include <string>

namespace veilbox {

// Selection as by a directory listing: "*" takes any run of characters, "?"
// one character, letters compare without regard to case, and every other
// character stands for itself. "*.*" selects every name, dotless ones too.
bool MatchesListingPattern(const std::string& name, const std::string& pattern);

// Exact-case test: "*" any run of characters, "?" one character, "#" one
// digit, "[list]" one character of the list (ranges such as "a-z" allowed,
// "[!list]" one character not in it, "[]" nothing at all); every other
// character stands for itself. Raises on an unclosed "[" or a descending range.
bool MatchesExactPattern(const std::string& name, const std::string& pattern);

}  // namespace veilbox
