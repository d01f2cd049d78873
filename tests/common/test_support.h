#pragma once
// Small helpers shared by the test programs. Paths are ANSI-code-page strings,
// as the program under test uses them.

#include <string>
#include <vector>

namespace testing_support {

// A fresh, empty folder under %TEMP%, removed with everything in it when the
// object goes. path() ends in a backslash.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + name; }

 private:
  std::string path_;
};

// Whole-file access, bytes unchanged. ReadFileBytes returns "" for a missing file.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
void RemoveTree(const std::string& path);

// Folder of the running test program and of the product's executables
// (build/bin/, beside build/tests/), each ending in a backslash.
std::string TestProgramFolder();
std::string ProductBinFolder();

struct ChildResult {
  unsigned long exitCode = 0xFFFFFFFF;
  std::string out;   // standard output, bytes unchanged
  std::string err;   // standard error
  bool started = false;
  unsigned long startError = 0;  // GetLastError when the start failed
};

// Runs a command line (CreateProcessA, no window), feeds it `input` on standard
// input and closes it, collects both output streams and waits for the end.
// `environment` entries ("NAME=value") are set for the child on top of ours.
ChildResult RunChild(const std::string& commandLine, const std::string& input = "",
                     const std::vector<std::string>& environment = {},
                     const std::string& currentDirectory = "");

// Full path of the running test program, for tests that relaunch it as a
// child with arguments (see ChildModeArgument in main-style fixtures).
std::string TestProgramPath();

}  // namespace testing_support
