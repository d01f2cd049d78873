#include "support/folder_tree.h"

#include <windows.h>

#include <share.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

#include "support/diagnostics.h"
#include "support/find_handle.h"

namespace {

struct FileCloser {
  void operator()(FILE* file) const { fclose(file); }
};

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDotEntry(const char* name) { return strcmp(name, ".") == 0 || strcmp(name, "..") == 0; }

std::string WithoutTrailingSeparators(std::string path) {
  while (!path.empty() && IsSeparator(path.back())) path.pop_back();
  return path;
}

std::wstring AnsiToWide(const std::string& text) {
  const int units = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(std::max(units, 0)), L'\0');
  if (units > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), units);
  return wide;
}

// NTFS keeps a folder's names in the order of their upper-case forms compared
// unit by unit; CompareStringOrdinal ignoring case compares the same way.
void SortLikeNtfs(std::vector<std::string>& names) {
  std::vector<std::pair<std::wstring, std::string>> keyed;
  keyed.reserve(names.size());
  for (std::string& name : names) keyed.emplace_back(AnsiToWide(name), std::move(name));
  std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
    return CompareStringOrdinal(a.first.c_str(), static_cast<int>(a.first.size()), b.first.c_str(),
                                static_cast<int>(b.first.size()), TRUE) == CSTR_LESS_THAN;
  });
  names.clear();
  for (auto& [key, name] : keyed) names.push_back(std::move(name));
}

// "\\server\share\folder" -> "server\share\folder"; nullopt when not a share path.
std::optional<std::string> SharePart(const std::string& full) {
  if (full.size() < 2 || !IsSeparator(full[0]) || !IsSeparator(full[1])) return std::nullopt;
  std::string rest = full.substr(2);
  // Device spellings: \\?\D:\..., \\?\UNC\server\share\...
  if (rest.size() >= 2 && (rest[0] == '?' || rest[0] == '.') && IsSeparator(rest[1])) {
    rest = rest.substr(2);
    if (rest.size() >= 4 && _strnicmp(rest.c_str(), "UNC", 3) == 0 && IsSeparator(rest[3])) return rest.substr(4);
    return std::nullopt;  // a drive behind the prefix: the caller looks at it as a drive path
  }
  return rest;
}

}  // namespace

std::optional<std::vector<std::string>> SubfolderNames(const std::string& folder) {
  if (folder.empty()) return std::nullopt;  // "*" alone would list the current folder
  const std::string pattern = (IsSeparator(folder.back()) ? folder : folder + "\\") + "*";
  WIN32_FIND_DATAA entry;
  const FindHandle find(FindFirstFileA(pattern.c_str(), &entry));
  if (!find) return std::nullopt;
  std::vector<std::string> names;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsDotEntry(entry.cFileName))
      names.emplace_back(entry.cFileName);
  } while (FindNextFileA(find.Get(), &entry));
  SortLikeNtfs(names);
  return names;
}

std::optional<std::vector<std::string>> ListSubfolders(const std::string& folder, const std::string& listFile) {
  std::optional<std::vector<std::string>> names = SubfolderNames(folder);
  if (!names) return std::nullopt;
  const std::unique_ptr<FILE, FileCloser> list(_fsopen(listFile.c_str(), "w", _SH_DENYNO));
  for (const std::string& name : *names) {
    Diagnostic("%s\n", name.c_str());
    if (list) fprintf(list.get(), "%s\n", name.c_str());
  }
  return names;
}

void DeleteTree(const std::string& path) {
  if (path.empty() || IsVolumeRoot(path)) return;
  const std::string folder = WithoutTrailingSeparators(path);
  const DWORD given = GetFileAttributesA(folder.c_str());
  if (given == INVALID_FILE_ATTRIBUTES || !(given & FILE_ATTRIBUTE_DIRECTORY)) return;
  if (given & FILE_ATTRIBUTE_REPARSE_POINT) {
    // The path itself is a junction or folder link: only the link goes.
    RemoveDirectoryA(folder.c_str());
    return;
  }
  {
    WIN32_FIND_DATAA entry;
    const FindHandle find(FindFirstFileA((folder + "\\*").c_str(), &entry));
    if (!find) return;
    do {
      if (IsDotEntry(entry.cFileName)) continue;
      const std::string full = folder + "\\" + entry.cFileName;
      const DWORD attributes = entry.dwFileAttributes;
      if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(full.c_str());
      } else if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        // A junction or folder link: following it would empty a folder
        // outside the tree. Removing it removes only the link.
        RemoveDirectoryA(full.c_str());
      } else {
        DeleteTree(full);
      }
    } while (FindNextFileA(find.Get(), &entry));
  }  // the enumeration is closed before the folder can go
  RemoveDirectoryA(folder.c_str());
}

bool IsVolumeRoot(const std::string& path) {
  if (path.empty()) return false;
  // "D:" on its own is the current folder of drive D to the file functions,
  // but a caller joining "\\*" to it reaches the drive's root.
  const std::string given = WithoutTrailingSeparators(path);
  if (given.empty() || (given.size() == 2 && given[1] == ':')) return true;
  char buffer[MAX_PATH * 4];
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof(buffer), buffer, nullptr);
  if (length == 0 || length >= sizeof(buffer)) return false;
  std::string full = WithoutTrailingSeparators(std::string(buffer, length));
  if (const std::optional<std::string> share = SharePart(full)) {
    // server, share, and nothing below them
    const size_t firstSeparator = share->find_first_of("\\/");
    return firstSeparator == std::string::npos ||
           share->find_first_of("\\/", firstSeparator + 1) == std::string::npos;
  }
  if (full.size() >= 4 && IsSeparator(full[0]) && IsSeparator(full[1])) full = full.substr(4);  // \\?\D:
  return full.size() == 2 && full[1] == ':';
}
