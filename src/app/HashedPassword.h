// The stored form of the password: "pbkdf2-sha256$<iterations>$<salt>$<hash>",
// salt and hash in uppercase hexadecimal, the hash being PBKDF2-HMAC-SHA256
// of the password's UTF-8 bytes. The text names all the check needs, and
// nothing in it gives the password back short of guessing it, each guess
// costing the iterations.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace veilbox {

// A check costs about 0.15 s of processor time on the project's build
// machine (bench/password_check.sh measures it).
constexpr std::uint32_t kPasswordIterations = 600'000;
constexpr std::size_t kPasswordSaltSize = 16;

// The stored text of password under salt with the given iterations.
std::string HashedPasswordText(const std::string& password, const std::vector<std::uint8_t>& salt,
                               std::uint32_t iterations);

// The stored text of password under a new random salt and
// kPasswordIterations.
std::string NewHashedPassword(const std::string& password);

// Whether typed, all of it, is the password that stored was made from,
// compared in constant time; nullopt when stored is not of this form.
std::optional<bool> MatchesHashedPassword(const std::string& stored, const std::string& typed);

// Whether a and b hold the same bytes, taking the same time wherever they
// differ.
bool SameSecret(const std::string& a, const std::string& b);

}  // namespace veilbox
