// Hexadecimal text of cipher buffers, the form in which cipher text is kept
// in file names and in the settings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace veilbox {

// Uppercase hex of the first n bytes of data (at most all of them), two
// characters per byte, with two spaces before every group of k bytes but the
// first. k = 0 means one group.
std::string HexDisplay(const std::vector<std::uint8_t>& data, std::size_t n, std::size_t k);

// Decodes hex digits of either case, in pairs, into data (replaced); every
// other character is skipped and a final unpaired digit is dropped. Returns
// the number of bytes decoded.
std::size_t HexDisplayRev(const std::string& text, std::vector<std::uint8_t>& data);

// True when text is exactly what HexDisplay(data, n, 16) gives for a
// non-empty whole number of 16-byte blocks; data (replaced) then holds those
// bytes.
bool ReadBlockHex(const std::string& text, std::vector<std::uint8_t>& data);

}  // namespace veilbox
