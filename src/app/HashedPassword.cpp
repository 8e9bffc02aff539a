#include "app/HashedPassword.h"

#include <charconv>

#include "crypto/Hex.h"
#include "crypto/PasswordHash.h"
#include "store/TextUtil.h"

namespace veilbox {
namespace {

constexpr const char* kAlgorithm = "pbkdf2-sha256";
// A stored count beyond this would hold the check for many seconds: such a
// value is not one Veilbox wrote.
constexpr std::uint32_t kMaxIterations = 10'000'000;

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  return HexDisplay(bytes, bytes.size(), 0);
}

// The bytes of exactly size bytes' worth of uppercase hex digits.
std::optional<std::vector<std::uint8_t>> HexBytes(const std::string& text, std::size_t size) {
  if (text.size() != 2 * size || text.find_first_not_of("0123456789ABCDEF") != std::string::npos) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes;
  HexDisplayRev(text, bytes);
  return bytes;
}

// A decimal count as Veilbox writes it: digits only, no leading zero.
std::optional<std::uint32_t> Iterations(const std::string& text) {
  std::uint32_t count = 0;
  const char* end = text.data() + text.size();
  if (text.empty() || text[0] == '0' || text.find_first_not_of("0123456789") != std::string::npos ||
      std::from_chars(text.data(), end, count).ptr != end || count > kMaxIterations) {
    return std::nullopt;
  }
  return count;
}

}  // namespace

std::string HashedPasswordText(const std::string& password, const std::vector<std::uint8_t>& salt,
                               std::uint32_t iterations) {
  return std::string(kAlgorithm) + "$" + std::to_string(iterations) + "$" + Hex(salt) + "$" +
         Hex(Pbkdf2Sha256(password, salt, iterations));
}

std::string NewHashedPassword(const std::string& password) {
  return HashedPasswordText(password, RandomBytes(kPasswordSaltSize), kPasswordIterations);
}

std::optional<bool> MatchesHashedPassword(const std::string& stored, const std::string& typed) {
  const std::vector<std::string> fields = SplitString(stored, '$');
  if (fields.size() != 4 || fields[0] != kAlgorithm) return std::nullopt;
  const std::optional<std::uint32_t> iterations = Iterations(fields[1]);
  const auto salt = HexBytes(fields[2], kPasswordSaltSize);
  if (!iterations || !salt || !HexBytes(fields[3], kPbkdf2KeySize)) return std::nullopt;
  // The stored text is in the one form this file writes, so the same hash
  // gives the same text.
  return SameSecret(HashedPasswordText(typed, *salt, *iterations), stored);
}

bool SameSecret(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  unsigned char difference = 0;
  for (std::size_t i = 0; i < a.size(); ++i) difference |= static_cast<unsigned char>(a[i] ^ b[i]);
  return difference == 0;
}

}  // namespace veilbox
