#include "tests/safety/tree_snapshot.h"

#include <windows.h>

#include <cstring>

#include "tests/common/test_support.h"

namespace safety {

namespace {

// An enumeration of FindFirstFileA, closed with FindClose.
class FolderEntries {
 public:
  explicit FolderEntries(const std::string& folder) : find_(FindFirstFileA((folder + "*").c_str(), &entry_)) {}
  ~FolderEntries() {
    if (find_ != INVALID_HANDLE_VALUE) FindClose(find_);
  }
  FolderEntries(const FolderEntries&) = delete;
  FolderEntries& operator=(const FolderEntries&) = delete;

  // The next entry other than "." and ".."; nullptr after the last.
  const WIN32_FIND_DATAA* Next() {
    while (find_ != INVALID_HANDLE_VALUE) {
      if (started_ && !FindNextFileA(find_, &entry_)) return nullptr;
      started_ = true;
      if (strcmp(entry_.cFileName, ".") != 0 && strcmp(entry_.cFileName, "..") != 0) return &entry_;
    }
    return nullptr;
  }

 private:
  WIN32_FIND_DATAA entry_{};
  HANDLE find_;
  bool started_ = false;
};

void Walk(const std::string& folder, const std::function<bool(const std::string&)>& skip, TreeSnapshot& into) {
  FolderEntries entries(folder);
  while (const WIN32_FIND_DATAA* entry = entries.Next()) {
    const std::string path = folder + entry->cFileName;
    TreeEntry item;
    if (entry->dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
      item.kind = TreeEntry::Kind::kLink;
    } else if (entry->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (skip && skip(path)) continue;
      item.kind = TreeEntry::Kind::kFolder;
      Walk(path + "\\", skip, into);
    } else {
      item.bytes = testing_support::ReadFileBytes(path);
    }
    into[path] = std::move(item);
  }
}

}  // namespace

TreeSnapshot TakeSnapshot(const std::string& folder, const std::function<bool(const std::string&)>& skip) {
  TreeSnapshot snapshot;
  Walk(folder, skip, snapshot);
  return snapshot;
}

std::vector<std::string> LostOrChanged(const TreeSnapshot& before, const TreeSnapshot& after) {
  std::vector<std::string> lost;
  for (const auto& [path, entry] : before) {
    const auto found = after.find(path);
    if (found == after.end()) {
      lost.push_back(path + " (missing)");
    } else if (!(found->second == entry)) {
      lost.push_back(path + " (changed)");
    }
  }
  return lost;
}

std::vector<std::string> Added(const TreeSnapshot& before, const TreeSnapshot& after) {
  std::vector<std::string> added;
  for (const auto& [path, entry] : after) {
    if (!before.count(path)) added.push_back(path);
  }
  return added;
}

std::vector<std::string> FileNamesIn(const std::string& folder) {
  std::vector<std::string> names;
  FolderEntries entries(folder);
  while (const WIN32_FIND_DATAA* entry = entries.Next()) {
    if (!(entry->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(entry->cFileName);
  }
  return names;
}

bool IsAtOrBelow(const std::string& path, const std::string& folder) {
  std::string base = folder;
  while (!base.empty() && base.back() == '\\') base.pop_back();
  if (path.size() < base.size() || _strnicmp(path.c_str(), base.c_str(), base.size()) != 0) return false;
  return path.size() == base.size() || path[base.size()] == '\\';
}

}  // namespace safety
