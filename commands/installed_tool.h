#pragma once

#include <string>

#include "support/registry.h"

// When the registry names the hypervisor's install folder: writes the folder
// to the diagnostics, sets command to the quoted tool path in it
// ("\"<folder><tool>\"", UTF-8 like everything stored in the settings files)
// and returns true. Otherwise leaves command alone and returns false.
bool InstalledToolCommand(const RegistryLocation& location, const char* toolFileName, std::string& command);
