// On Windows the stored text is in the system's ANSI code page (CP_ACP);
// characters the code page lacks become its default character.
#include "platform/Codec.h"

#include <windows.h>

#include "platform/win32/WideText.h"

namespace veilbox {

std::string ToAnsi(const std::string& text) {
  const std::wstring wide = win32::Widen(text);
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), size, bytes.data(), n, nullptr, nullptr);
  return bytes;
}

std::string FromAnsi(const std::string& bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), n);
  return win32::Narrow(wide);
}

}  // namespace veilbox
