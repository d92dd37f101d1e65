// String values under HKEY_CURRENT_USER.
#include <vector>

#include "platform/platform.h"
#include "win32_api.h"

namespace vemlo::platform {

namespace {

struct Key {
  HKEY H = nullptr;
  ~Key() {
    if (H) RegCloseKey(H);
  }
};

}  // namespace

// The real registry serves the module: there is no stand-in file.
void SetRegistryFile(const std::string&) {}

bool RegKeyExists(const std::string& key) {
  Key k;
  return RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &k.H) == ERROR_SUCCESS;
}

std::optional<std::string> RegQueryString(const std::string& key, const std::string& name) {
  Key k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &k.H) != ERROR_SUCCESS) return std::nullopt;
  // The value may change between the two reads: its size is asked again then.
  for (int attempt = 0; attempt < 3; ++attempt) {
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(k.H, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    if (type != REG_SZ) return std::nullopt;
    std::vector<char> buffer(size + 1, '\0');
    DWORD got = size;
    LONG rc = RegQueryValueExA(k.H, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &got);
    if (rc == ERROR_MORE_DATA) continue;
    if (rc != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
    std::string value(buffer.data(), got <= size ? got : size);
    while (!value.empty() && value.back() == '\0') value.pop_back();
    return value;
  }
  return std::nullopt;
}

bool RegSetString(const std::string& key, const std::string& name, const std::string& value) {
  if (key.empty()) return false;
  Key k;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                      &k.H, nullptr) != ERROR_SUCCESS)
    return false;
  // Stored with its closing NUL, as string values are.
  return RegSetValueExA(k.H, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace vemlo::platform
