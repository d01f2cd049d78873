#include "tools/standins/common/console_output.h"

#include <windows.h>

#include <string>

#include "tools/standins/common/text_codec.h"

namespace standins {

namespace {

void WriteAll(DWORD which, std::string_view utf8) {
  const HANDLE stream = GetStdHandle(which);
  if (utf8.empty() || stream == nullptr || stream == INVALID_HANDLE_VALUE) return;
  const std::string bytes = Utf8ToAnsiCodePage(utf8);
  size_t offset = 0;
  while (offset < bytes.size()) {
    DWORD written = 0;
    if (!WriteFile(stream, bytes.data() + offset, static_cast<DWORD>(bytes.size() - offset), &written, nullptr) ||
        written == 0) {
      return;  // the reader went away; nothing else to tell anyone
    }
    offset += written;
  }
}

}  // namespace

void WriteToStdout(std::string_view utf8) { WriteAll(STD_OUTPUT_HANDLE, utf8); }

void WriteToStderr(std::string_view utf8) { WriteAll(STD_ERROR_HANDLE, utf8); }

}  // namespace standins
