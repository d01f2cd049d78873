#pragma once
// Files and folders by UTF-8 path (the stand-ins' one inner encoding); every
// call goes through the "W" functions so any name round-trips.

#include <optional>
#include <string>

namespace standins {

bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// Creates the folder and every missing folder above it.
bool CreateFolderTree(const std::string& path);

std::optional<std::string> ReadWholeFile(const std::string& path);

// Writes beside the target, then replaces it in one step, so a reader (or a
// run killed half-way) never sees half a file.
bool ReplaceFileAtomically(const std::string& path, const std::string& bytes);

// Creates a file that must not exist yet.
bool CreateNewFile(const std::string& path, const std::string& bytes);

bool DeleteFileAt(const std::string& path);

// Removes a folder only when nothing is left in it.
bool RemoveEmptyFolder(const std::string& path);

// The absolute, normalised form, for telling whether two spellings name the
// same file.
std::string FullPath(const std::string& path);
bool SamePath(const std::string& a, const std::string& b);

// "D:\c\2\2.vmx" -> "D:\c\2" and "2".
std::string ParentFolder(const std::string& path);
std::string FileStem(const std::string& path);
std::string JoinPath(const std::string& folder, const std::string& name);

// The folder of the running program.
std::string ProgramFolder();

}  // namespace standins
