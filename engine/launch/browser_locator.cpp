#include "engine/launch/browser_locator.h"

#include <windows.h>

#include "engine/launch/utf16_text.h"

namespace {

std::wstring EnvironmentValue(const wchar_t* name) {
  std::wstring value(256, L'\0');
  for (;;) {
    const DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) return {};
    if (length < value.size()) {
      value.resize(length);
      return value;
    }
    value.resize(length);  // the size asked for, with room for the terminator
  }
}

// An open registry key, closed when the object goes.
class RegistryKey {
 public:
  RegistryKey(HKEY root, const wchar_t* subKey, REGSAM access) {
    if (RegOpenKeyExW(root, subKey, 0, access, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  ~RegistryKey() {
    if (key_) RegCloseKey(key_);
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

// The default value of a key, with environment references expanded; "" when missing.
std::wstring DefaultValue(HKEY root, const wchar_t* subKey, REGSAM view) {
  const RegistryKey key(root, subKey, KEY_QUERY_VALUE | view);
  if (!key.Get()) return {};
  // REG_SZ, or REG_EXPAND_SZ expanded on the way (RRF_RT_REG_EXPAND_SZ is
  // only allowed with RRF_NOEXPAND).
  constexpr DWORD kText = RRF_RT_REG_SZ;
  std::wstring value;
  DWORD bytes = 0;
  LONG status = RegGetValueW(key.Get(), nullptr, nullptr, kText, nullptr, nullptr, &bytes);
  // Expansion may need more room than the size first given.
  for (int attempt = 0; attempt < 3 && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA); ++attempt) {
    value.resize(bytes / sizeof(wchar_t) + 1);
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    status = RegGetValueW(key.Get(), nullptr, nullptr, kText, nullptr, value.data(), &bytes);
    if (status == ERROR_SUCCESS) break;
  }
  if (status != ERROR_SUCCESS) value.clear();
  value.resize(wcsnlen(value.c_str(), value.size()));
  // Some installers write the path in quotes.
  if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"') value = value.substr(1, value.size() - 2);
  return value;
}

bool IsFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

std::string LocateBrowser() {
  const std::wstring chosen = EnvironmentValue(kBrowserVariable);
  if (!chosen.empty()) return Utf16ToUtf8(chosen);

  struct Place {
    HKEY root;
    REGSAM view;
  };
  // Both views of the machine's registry: browsers' installers are 32- or 64-bit.
  const Place kPlaces[] = {
      {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY},
      {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY},
      {HKEY_CURRENT_USER, 0},
  };
  for (const wchar_t* appPath : kBrowserAppPaths) {
    for (const Place& place : kPlaces) {
      const std::wstring program = DefaultValue(place.root, appPath, place.view);
      if (!program.empty() && IsFile(program)) return Utf16ToUtf8(program);
    }
  }
  return {};
}
