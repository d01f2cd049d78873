#include "engine/launch/environment_block.h"

#include <windows.h>

#include <cwchar>

namespace {

// Names compare without case, as Windows compares them. Entries such as
// "=C:=C:\dir" start with '=', so the name ends at the first '=' after that.
bool HasName(const wchar_t* entry, const std::wstring& name) {
  const wchar_t* equals = std::wcschr(entry + 1, L'=');
  const size_t length = equals ? static_cast<size_t>(equals - entry) : std::wcslen(entry);
  return length == name.size() &&
         CompareStringOrdinal(entry, static_cast<int>(length), name.c_str(), static_cast<int>(length), TRUE) ==
             CSTR_EQUAL;
}

}  // namespace

std::wstring EnvironmentWith(const std::wstring& name, const std::wstring& value) {
  std::wstring block;
  if (wchar_t* current = GetEnvironmentStringsW()) {
    for (const wchar_t* entry = current; *entry; entry += std::wcslen(entry) + 1) {
      if (!HasName(entry, name)) block.append(entry).push_back(L'\0');
    }
    FreeEnvironmentStringsW(current);
  }
  block.append(name).append(L"=").append(value).push_back(L'\0');
  block.push_back(L'\0');
  return block;
}
