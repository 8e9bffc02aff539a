// std::filesystem paths from and to the core's UTF-8 text. A path made from
// a plain std::string would be read in the ANSI code page on Windows; the
// char8_t forms are UTF-8 everywhere and change nothing on Linux.
#pragma once

#include <filesystem>
#include <string>

namespace veilbox {

inline std::filesystem::path PathFromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace veilbox
