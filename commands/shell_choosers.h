#pragma once
// The shell dialogs as the commands use them, behind an interface so the
// commands can be tested without a dialog on the screen.

#include <string>

class ShellChoosers {
 public:
  virtual ~ShellChoosers() = default;
  // The chosen folder (ANSI, no trailing backslash); false when cancelled.
  virtual bool ChooseFolder(std::string& folder) = 0;
  // The chosen .vmx file (ANSI full path); false when cancelled.
  virtual bool ChooseVmxFile(std::string& path) = 0;
};

// The real dialogs.
ShellChoosers& SystemShellChoosers();
