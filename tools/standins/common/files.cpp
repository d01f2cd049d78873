#include "tools/standins/common/files.h"

#include <windows.h>

#include <vector>

#include "tools/standins/common/text_codec.h"
#include "tools/standins/common/unique_handle.h"

namespace standins {

namespace {

DWORD Attributes(const std::string& path) { return GetFileAttributesW(Utf8ToWide(path).c_str()); }

bool WriteAllBytes(HANDLE file, const std::string& bytes) {
  size_t offset = 0;
  while (offset < bytes.size()) {
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + offset, static_cast<DWORD>(bytes.size() - offset), &written, nullptr) ||
        written == 0) {
      return false;
    }
    offset += written;
  }
  return true;
}

bool WriteFileWithDisposition(const std::string& path, const std::string& bytes, DWORD disposition) {
  UniqueHandle file(
      CreateFileW(Utf8ToWide(path).c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  return WriteAllBytes(file.get(), bytes);
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

bool FileExists(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateFolderTree(const std::string& path) {
  if (path.empty() || FolderExists(path)) return true;
  const std::string parent = ParentFolder(path);
  if (!parent.empty() && parent != path && !CreateFolderTree(parent)) return false;
  return CreateDirectoryW(Utf8ToWide(path).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  UniqueHandle file(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[16384];
  DWORD got = 0;
  while (ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) bytes.append(buffer, got);
  return bytes;
}

bool ReplaceFileAtomically(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".tmp-" + std::to_string(GetCurrentProcessId());
  if (!WriteFileWithDisposition(temporary, bytes, CREATE_ALWAYS)) {
    DeleteFileAt(temporary);
    return false;
  }
  if (!MoveFileExW(Utf8ToWide(temporary).c_str(), Utf8ToWide(path).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileAt(temporary);
    return false;
  }
  return true;
}

bool CreateNewFile(const std::string& path, const std::string& bytes) {
  return WriteFileWithDisposition(path, bytes, CREATE_NEW);
}

bool DeleteFileAt(const std::string& path) {
  const std::wstring wide = Utf8ToWide(path);
  SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
  return DeleteFileW(wide.c_str()) != 0;
}

bool RemoveEmptyFolder(const std::string& path) { return RemoveDirectoryW(Utf8ToWide(path).c_str()) != 0; }

std::string FullPath(const std::string& path) {
  const std::wstring wide = Utf8ToWide(path);
  const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::vector<wchar_t> full(needed, L'\0');
  const DWORD length = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return path;
  return WideToUtf8(std::wstring_view(full.data(), length));
}

bool SamePath(const std::string& a, const std::string& b) {
  const std::wstring first = Utf8ToWide(FullPath(a));
  const std::wstring second = Utf8ToWide(FullPath(b));
  // File names on Windows compare without regard to case.
  return CompareStringOrdinal(first.data(), static_cast<int>(first.size()), second.data(),
                              static_cast<int>(second.size()), TRUE) == CSTR_EQUAL;
}

std::string ParentFolder(const std::string& path) {
  size_t end = path.size();
  while (end > 0 && IsSeparator(path[end - 1])) --end;
  while (end > 0 && !IsSeparator(path[end - 1])) --end;
  while (end > 0 && IsSeparator(path[end - 1])) --end;
  // Keep "D:\" whole rather than turning it into the relative "D:".
  if (end == 2 && path[1] == ':' && path.size() > 2) return path.substr(0, 3);
  return path.substr(0, end);
}

std::string FileStem(const std::string& path) {
  size_t start = path.size();
  while (start > 0 && !IsSeparator(path[start - 1])) --start;
  const std::string name = path.substr(start);
  const size_t dot = name.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (IsSeparator(folder.back())) return folder + name;
  return folder + "\\" + name;
}

std::string ProgramFolder() {
  std::vector<wchar_t> path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::string();
    if (length < path.size()) return ParentFolder(WideToUtf8(std::wstring_view(path.data(), length)));
    path.resize(path.size() * 2);
  }
}

}  // namespace standins
