#include "tests/process/child_tool.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "support/win_handle.h"
#include "tests/common/test_support.h"

namespace child_tool {

namespace {

constexpr char kModeFlag[] = "--twk-child=";

// Writes straight to the handle, unbuffered, so each call is one write on the
// pipe. False once the reader has gone.
bool Print(DWORD stream, const std::string& bytes) {
  DWORD written = 0;
  return WriteFile(GetStdHandle(stream), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

UINT PrintCount(size_t count) {
  const std::string all = PrintedBytes(count);
  constexpr size_t kPiece = 512;
  for (size_t offset = 0; offset < all.size(); offset += kPiece) {
    if (!Print(STD_OUTPUT_HANDLE, all.substr(offset, kPiece))) break;
  }
  return 0;
}

// The marker shows the tool got to its end; the failure code, that the caller
// does not care.
UINT MarkAndFail(const std::string& markerPath) {
  Sleep(1000);
  WinHandle marker(CreateFileA(markerPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
  return 1;
}

UINT ActOut(const std::string& mode) {
  const std::string name = mode.substr(0, mode.find(':'));
  const std::string argument = mode.find(':') == std::string::npos ? "" : mode.substr(mode.find(':') + 1);
  if (name == "print") return PrintCount(std::strtoul(argument.c_str(), nullptr, 10));
  if (name == "bursts") {
    Print(STD_OUTPUT_HANDLE, "first");
    Sleep(300);
    Print(STD_OUTPUT_HANDLE, "second");
    return 0;
  }
  if (name == "silent") return 0;
  if (name == "crlf") return Print(STD_OUTPUT_HANDLE, "one\r\ntwo\r\n") ? 0 : 1;
  if (name == "stdout-stderr") {
    Print(STD_OUTPUT_HANDLE, "out;");
    Print(STD_ERROR_HANDLE, "err;");
    return 0;
  }
  if (name == "zero") return Print(STD_OUTPUT_HANDLE, std::string("abc\0def", 7)) ? 0 : 1;
  if (name == "mark-and-fail") return MarkAndFail(argument);
  return 99;  // an unknown mode: a typo in a test
}

// Runs before main, so a relaunched copy never reaches GoogleTest.
[[maybe_unused]] const bool childModeChecked = [] {
  const char* flag = std::strstr(GetCommandLineA(), kModeFlag);
  if (!flag) return false;
  ExitProcess(ActOut(flag + std::strlen(kModeFlag)));
}();

}  // namespace

std::string CommandLine(const std::string& mode) {
  return "\"" + testing_support::TestProgramPath() + "\" " + kModeFlag + mode;
}

std::string PrintedBytes(size_t count) {
  std::string bytes(count, '\0');
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>('a' + i % 26);
  return bytes;
}

}  // namespace child_tool
