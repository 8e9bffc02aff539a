// The core's text is UTF-8; the Windows API's is UTF-16. These convert
// between the two at the edge of the Windows platform layer.
#pragma once

#include <string>

namespace veilbox::win32 {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);

}  // namespace veilbox::win32
