#include "tools/standins/common/environment.h"

#include <windows.h>

#include <vector>

#include "tools/standins/common/text_codec.h"

namespace standins {

std::optional<std::string> EnvironmentVariable(const wchar_t* name) {
  SetLastError(ERROR_SUCCESS);
  const DWORD needed = GetEnvironmentVariableW(name, nullptr, 0);
  if (needed == 0) {
    if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    return std::string();
  }
  std::vector<wchar_t> value(needed, L'\0');
  const DWORD length = GetEnvironmentVariableW(name, value.data(), needed);
  if (length == 0 || length >= needed) return std::nullopt;
  return WideToUtf8(std::wstring_view(value.data(), length));
}

}  // namespace standins
