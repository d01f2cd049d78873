#include "tests/fuzz/sandbox_shell.h"

#include <windows.h>

bool SandboxChoosers::ChooseFolder(std::string& folder) {
  constexpr const char* kFolders[] = {"store", "vbox", "dir with space", "standins", "missing"};
  if (random_.Percent(30)) return false;  // cancelled
  folder = sandbox_ + random_.Pick(kFolders);
  return true;
}

bool SandboxChoosers::ChooseVmxFile(std::string& path) {
  if (random_.Percent(30)) return false;
  path = sandbox_ + "master\\master.vmx";
  return true;
}

void CountingWindow::EndProgram() {
  std::printf("FAIL: the window was asked to end the program\n");
  std::fflush(stdout);
  ExitProcess(4);
}
