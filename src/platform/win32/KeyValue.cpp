#include "platform/win32/KeyValue.h"

namespace veilbox::win32 {

bool GetKeyValue(HKEY root, const std::string& key_name, const std::string& value_name,
                 std::string& value) {
  value.clear();
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, key_name.c_str(), 0, kKeyValueAccess, &key) != ERROR_SUCCESS) {
    return false;
  }
  char buffer[1024] = {};
  DWORD size = sizeof buffer, type = 0;
  const bool read = RegQueryValueExA(key, value_name.c_str(), nullptr, &type,
                                     reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS;
  RegCloseKey(key);
  if (!read) return false;
  if (size > 0 && buffer[size - 1] == '\0') --size;
  if (type == REG_SZ) value.assign(buffer, size);
  return true;
}

}  // namespace veilbox::win32
