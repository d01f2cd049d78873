#include "support/program_directory.h"

#include <windows.h>

std::string ProgramDirectory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof(path));
  std::string directory = path;
  return directory.substr(0, directory.find_last_of('\\') + 1);
}
