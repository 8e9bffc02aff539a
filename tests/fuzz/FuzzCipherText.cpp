// Any text as cipher text: no crash, and a name the file-name check accepts encrypts back to it.
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
