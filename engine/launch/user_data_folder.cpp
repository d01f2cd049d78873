#include "engine/launch/user_data_folder.h"

#include <windows.h>

#include "engine/launch/utf16_text.h"

namespace {

std::wstring MakeTemporaryFolder() {
  wchar_t base[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, base);
  if (length == 0 || length > MAX_PATH) return {};
  LARGE_INTEGER ticks;
  QueryPerformanceCounter(&ticks);
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    const std::wstring folder = std::wstring(base) + L"tarnwick-browser-" + std::to_wstring(GetCurrentProcessId()) +
                                L"-" + std::to_wstring(ticks.QuadPart + attempt);
    if (CreateDirectoryW(folder.c_str(), nullptr)) return folder;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
  }
  return {};
}

// Makes a folder and any missing parents; true when it exists.
bool MakeFolderPath(const std::wstring& folder) {
  if (CreateDirectoryW(folder.c_str(), nullptr)) return true;
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS) return true;
  const size_t parentEnd = folder.find_last_of(L"\\/");
  if (error != ERROR_PATH_NOT_FOUND || parentEnd == std::wstring::npos || parentEnd == 0) return false;
  return MakeFolderPath(folder.substr(0, parentEnd)) &&
         (CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
}

// Removes a folder with everything in it; true when it is gone.
bool RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = folder + L"\\" + name;
      const bool isFolder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                            !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (isFolder) {
        RemoveTree(full);
      } else if (!DeleteFileW(full.c_str())) {
        RemoveDirectoryW(full.c_str());  // a link to a folder
      }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
  }
  return RemoveDirectoryW(folder.c_str()) || GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace

bool UserDataFolder::Prepare(const std::string& given) {
  Release();
  if (!given.empty()) {
    path_ = given;
    while (path_.size() > 3 && (path_.back() == '\\' || path_.back() == '/')) path_.pop_back();
    // The browser would make it too; but under Wine only a folder that exists
    // (or whose parent does) has a Unix path to hand to a Unix program.
    if (MakeFolderPath(Utf8ToUtf16(path_))) return true;
    path_.clear();
    return false;
  }
  const std::wstring folder = MakeTemporaryFolder();
  if (folder.empty()) return false;
  path_ = Utf16ToUtf8(folder);
  temporary_ = true;
  return true;
}

void UserDataFolder::Release() {
  if (temporary_) {
    const std::wstring folder = Utf8ToUtf16(path_);
    // A browser that has just ended may still be letting go of its files
    // (under Wine, the wrapper removes the links Chromium leaves behind).
    for (int attempt = 0; attempt < 100 && !RemoveTree(folder); ++attempt) Sleep(50);
  }
  path_.clear();
  temporary_ = false;
}
