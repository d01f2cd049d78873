#include "tests/fuzz/child_environment.h"

#include <windows.h>

#include <cstring>

#include "support/diagnostics.h"
#include "support/program_directory.h"
#include "support/text_encoding.h"
#include "vmware/vmware_inventory.h"

namespace {

constexpr char kUsersFolder[] = "C:\\Users\\";

bool StartsWithNoCase(const std::string& text, const std::string& start) {
  return text.size() >= start.size() && _strnicmp(text.c_str(), start.c_str(), start.size()) == 0;
}

}  // namespace

SandboxProcess::SandboxProcess() {
  folder_.ansi = ProgramDirectory();
  folder_.utf8 = AnsiToUtf8(folder_.ansi);
  SetCurrentDirectoryA(folder_.ansi.c_str());

  // The sandbox is under %TEMP%, which Wine keeps under C:\users\<user>.
  if (!StartsWithNoCase(folder_.ansi, kUsersFolder)) {
    error_ = "the sandbox " + folder_.ansi + " is not under " + kUsersFolder;
    return;
  }
  const std::string userName = folder_.ansi.substr(std::strlen(kUsersFolder)) + "profile";
  SetEnvironmentVariableA("WINEUSERNAME", userName.c_str());
  const std::string inventory = VmwareBackend::InventoryPath();
  if (!StartsWithNoCase(inventory, folder_.ansi)) {
    error_ = "the inventory would be " + inventory + ", outside the sandbox (not under Wine?)";
    return;
  }

  SetEnvironmentVariableA("PATH", folder_.ansi.c_str());
  const std::string noInterpreter = folder_.ansi + "no-command-interpreter.exe";
  SetEnvironmentVariableA("ComSpec", noInterpreter.c_str());

  diagnostics_.reset(std::fopen("NUL", "w"));
  if (!diagnostics_) {
    error_ = "NUL cannot be opened";
    return;
  }
  SetDiagnosticsStream(diagnostics_.get());
}

SandboxProcess::~SandboxProcess() { SetDiagnosticsStream(stderr); }
