#include "commands/installed_tool.h"

#include "support/diagnostics.h"
#include "support/text_encoding.h"

bool InstalledToolCommand(const RegistryLocation& location, const char* toolFileName, std::string& command) {
  std::string folder;
  if (!ReadRegistryString(location, folder)) return false;
  Diagnostic("%s\n", folder.c_str());
  // The registry gives ANSI text; the settings files hold UTF-8.
  command.assign(1, '"').append(AnsiToUtf8(folder)).append(toolFileName).push_back('"');
  return true;
}
