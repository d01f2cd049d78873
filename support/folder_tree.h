#pragma once
// Listing and removing folders on disk. Paths and names are in the ANSI code
// page, as the "A" file functions take them.

#include <optional>
#include <string>
#include <vector>

// The names of the subfolders of `folder` (files and the entries "." and ".."
// left out; a name beginning with a dot is kept), sorted the way NTFS orders
// names: ordinal, ignoring letter case, so "10" comes before "2" on every file
// system. nullopt when the folder cannot be enumerated (missing, not a folder,
// empty path). A missing trailing backslash is supplied.
std::optional<std::vector<std::string>> SubfolderNames(const std::string& folder);

// SubfolderNames, with every name also written on a line of its own to the
// diagnostics and to listFile (truncated first; text mode, so each line ends
// in CR LF on disk). When the folder cannot be enumerated the list file is not
// touched; a list file that cannot be created is skipped without notice.
std::optional<std::vector<std::string>> ListSubfolders(const std::string& folder, const std::string& listFile);

// Removes a folder with everything in it, depth first, the folder itself last.
// Whatever cannot be removed (a file in use or read-only) stays, and with it
// every folder on its way up; nothing is reported. A link to another folder
// inside the tree is removed as a link: what it points to is not touched. An
// empty path or a volume root (see IsVolumeRoot) removes nothing.
void DeleteTree(const std::string& path);

// True when the path names the root of a volume: a drive ("D:", "D:\") or a
// network share ("\\server\share"), relative spellings included.
bool IsVolumeRoot(const std::string& path);
