#include "support/registry.h"

#include <windows.h>

#include "support/diagnostics.h"

bool ReadRegistryString(const char* subKey, const char* valueName, std::string& out) {
  char buffer[256] = {};
  DWORD size = sizeof(buffer);
  DWORD type = 0;
  const LSTATUS status = RegGetValueA(HKEY_LOCAL_MACHINE, subKey, valueName, RRF_RT_ANY, &type, buffer, &size);
  if (status != ERROR_SUCCESS) {
    Diagnostic("Error: %ld\n", static_cast<long>(status));
    return false;
  }
  buffer[sizeof(buffer) - 1] = '\0';
  out = buffer;
  return true;
}
