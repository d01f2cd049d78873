#pragma once
// The shell dialogs, and the shell itself, as the commands use them, behind an
// interface so the commands can be tested without a dialog on the screen or a
// program started by the shell.

#include <string>

class ShellChoosers {
 public:
  virtual ~ShellChoosers() = default;
  // The chosen folder (ANSI, no trailing backslash); false when cancelled.
  virtual bool ChooseFolder(std::string& folder) = 0;
  // The chosen .vmx file (ANSI full path); false when cancelled.
  virtual bool ChooseVmxFile(std::string& path) = 0;
  // Hands the text (ANSI: an address or a path) to the shell to open; by
  // default the real shell does.
  virtual void OpenInShell(const std::string& text);
};

// The real dialogs and shell.
ShellChoosers& SystemShellChoosers();
