#include "platform/win32/LongPath.h"

#include <windows.h>

namespace veilbox::win32 {
namespace {

constexpr std::wstring_view kPrefix = L"\\\\?\\";
constexpr std::wstring_view kSharePrefix = L"\\\\?\\UNC\\";

// GetFullPathNameW resolves "/", "." and ".." and takes paths of any length.
std::wstring FullPath(const std::wstring& path) {
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n =
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0) return path;
    if (n < full.size()) {
      full.resize(n);
      return full;
    }
    full.resize(n);
  }
}

}  // namespace

std::wstring SystemPath(const std::wstring& path) {
  if (path.empty() || path.starts_with(kPrefix) || path.starts_with(L"\\\\.\\")) return path;
  const std::wstring full = FullPath(path);
  if (full.starts_with(L"\\\\")) return std::wstring(kSharePrefix) + full.substr(2);
  return std::wstring(kPrefix) + full;
}

std::wstring UserPath(const std::wstring& path) {
  if (path.starts_with(kSharePrefix)) return L"\\\\" + path.substr(kSharePrefix.size());
  if (path.starts_with(kPrefix)) return path.substr(kPrefix.size());
  return path;
}

}  // namespace veilbox::win32
