// Any text as cipher text: Decrypt and the quiet file-name check never crash,
// and a name the check accepts encrypts back to the same text.
#include <cstdlib>

#include "crypto/cEncrypt.h"

using namespace veilbox;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static cEncrypt cipher;
  const std::string text(reinterpret_cast<const char*>(data), size);
  cipher.Decrypt(text, "VeilboxKey");
  if (auto name = cipher.DecryptFileName(text, "VeilboxKey")) {
    if (cipher.Encrypt(*name, "VeilboxKey") != text) std::abort();
  }
  return 0;
}
