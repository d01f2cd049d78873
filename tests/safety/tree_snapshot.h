#pragma once
// What a folder tree holds, taken before and after a command, to tell
// exactly what the command removed or changed. Links to folders (junctions,
// and under Wine the Unix links it shows as such) are recorded as links and
// not followed: what they point to is recorded where it really lives.

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace safety {

struct TreeEntry {
  enum class Kind { kFile, kFolder, kLink };
  Kind kind = Kind::kFile;
  std::string bytes;  // a file's content
  bool operator==(const TreeEntry&) const = default;
};

// Keyed by full path, spelled as the folder given plus the names found.
using TreeSnapshot = std::map<std::string, TreeEntry>;

// Everything below `folder` (which ends in a backslash), the folder itself
// left out. Folders for which `skip` is true are left out with their content.
TreeSnapshot TakeSnapshot(const std::string& folder, const std::function<bool(const std::string&)>& skip = nullptr);

// The entries of `before` that are missing from `after` or differ there,
// each with what happened to it ("missing" or "changed").
std::vector<std::string> LostOrChanged(const TreeSnapshot& before, const TreeSnapshot& after);

// The entries of `after` that `before` did not have.
std::vector<std::string> Added(const TreeSnapshot& before, const TreeSnapshot& after);

// The names of the files (not folders) directly in `folder` (ending in a backslash).
std::vector<std::string> FileNamesIn(const std::string& folder);

// The path is `folder` itself or lies below it (letter case aside).
bool IsAtOrBelow(const std::string& path, const std::string& folder);

}  // namespace safety
