#include "engine/launch/wine_unix_path.h"

#include <windows.h>

#include "engine/launch/utf16_text.h"

namespace {

// kernel32's Wine-only export; the result is allocated on the process heap.
using WineGetUnixFileName = char*(CDECL*)(const wchar_t* dosPath);

WineGetUnixFileName FindWineGetUnixFileName() {
  HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  if (!kernel32) return nullptr;
  // Through void(*)(), which every function pointer converts to without warnings.
  return reinterpret_cast<WineGetUnixFileName>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel32, "wine_get_unix_file_name")));
}

}  // namespace

bool IsUnixProgramPath(const std::string& program) { return !program.empty() && program[0] == '/'; }

std::string UnixPathUnderWine(const std::string& windowsPath) {
  const WineGetUnixFileName toUnix = FindWineGetUnixFileName();
  if (!toUnix || windowsPath.empty()) return {};
  char* unixPath = toUnix(Utf8ToUtf16(windowsPath).c_str());
  if (!unixPath) return {};
  // Wine hands out Unix paths in the Unix locale's encoding, UTF-8 on the
  // systems Tarnwick is built and tested on.
  std::string result = unixPath;
  HeapFree(GetProcessHeap(), 0, unixPath);
  return result;
}
