// tarnwick-cli: runs one page command without the window, for scripts and tests.
//
//   tarnwick-cli.exe [--callback N] < request.json
//
// The request text is read whole from standard input; the reply text goes to
// standard output (nothing when N is 0) and diagnostics to standard error.
// Settings and list files are read and written beside the executable.

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "commands/dispatcher.h"
#include "support/diagnostics.h"
#include "support/program_directory.h"

namespace {

std::string ReadAll(FILE* stream) {
  std::string text;
  char buffer[65536];
  size_t got;
  while ((got = fread(buffer, 1, sizeof(buffer), stream)) > 0) text.append(buffer, got);
  return text;
}

bool ParseCallbackId(int argc, char** argv, int& callbackId) {
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--callback") != 0 || i + 1 >= argc) return false;
    char* end = nullptr;
    const long value = strtol(argv[++i], &end, 10);
    if (*end != '\0' || end == argv[i]) return false;
    callbackId = static_cast<int>(value);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int callbackId = 1;
  if (!ParseCallbackId(argc, argv, callbackId)) {
    fprintf(stderr, "usage: tarnwick-cli.exe [--callback N] < request.json\n");
    return 2;
  }
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  SetDiagnosticsStream(stderr);
  SetCurrentDirectoryA(ProgramDirectory().c_str());

  CommandEnvironment environment;
  environment.launchTime = static_cast<int64_t>(time(nullptr));

  const std::string request = ReadAll(stdin);
  const std::optional<std::string> reply = RunScriptCall(callbackId, &request, environment);
  if (reply) {
    fwrite(reply->data(), 1, reply->size(), stdout);
    fflush(stdout);
  }
  return 0;
}
