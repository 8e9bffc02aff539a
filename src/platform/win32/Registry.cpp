#include "platform/win32/Registry.h"

#include <cstdint>

#include "platform/win32/WinError.h"

namespace veilbox::win32 {
namespace {

// Closes an open key when it goes out of scope.
class OpenKey {
 public:
  OpenKey() = default;
  ~OpenKey() {
    if (key_) RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  HKEY* Out() { return &key_; }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

std::optional<std::string> QueryStringValue(HKEY key, const std::string& name) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  if (type == REG_SZ) {
    std::string buffer(size, '\0');
    if (RegQueryValueExA(key, name.c_str(), nullptr, nullptr,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    buffer.resize(size);
    return buffer.substr(0, buffer.find('\0'));
  }
  if (type == REG_BINARY) {
    // Longer binary values do not fit and read as absent.
    std::int16_t number = 0;
    DWORD number_size = sizeof number;
    if (RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&number),
                         &number_size) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    return std::to_string(number);
  }
  return std::nullopt;
}

std::optional<std::string> ReadRegistryString(HKEY root, const std::string& key_path,
                                              const std::string& name) {
  OpenKey key;
  const LSTATUS status = RegOpenKeyExA(root, key_path.c_str(), 0, KEY_QUERY_VALUE, key.Out());
  if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
  // A key that is there but cannot be read is not an absent one.
  if (status != ERROR_SUCCESS) {
    RaiseWin32(static_cast<DWORD>(status), "Cannot read the settings key " + key_path,
               Where::current());
  }
  return QueryStringValue(key.Get(), name);
}

void WriteRegistryString(HKEY root, const std::string& key_path, const std::string& name,
                         const std::string& ansi_data, Where where) {
  OpenKey key;
  LSTATUS status = RegCreateKeyExA(root, key_path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_SET_VALUE, nullptr, key.Out(), nullptr);
  if (status != ERROR_SUCCESS) {
    RaiseWin32(static_cast<DWORD>(status), "Cannot open the settings key " + key_path, where);
  }
  status = RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(ansi_data.data()),
                          static_cast<DWORD>(ansi_data.size()));
  if (status != ERROR_SUCCESS) {
    RaiseWin32(static_cast<DWORD>(status), "Cannot write the setting " + name, where);
  }
}

}  // namespace veilbox::win32
