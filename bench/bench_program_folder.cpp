#include "bench/bench_program_folder.h"

#include <windows.h>

#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>

#include "commands/dispatcher.h"
#include "support/diagnostics.h"
#include "support/folder_tree.h"
#include "support/program_directory.h"
#include "support/win_handle.h"

namespace {

constexpr char kCopyFlag[] = "--in-program-folder";

std::string ExecutablePath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof(path));
  return path;
}

std::string FileName(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

// A fresh, empty folder under %TEMP%, ending in a backslash; "" when none could be made.
std::string NewTemporaryFolder() {
  char base[MAX_PATH] = {};
  GetTempPathA(sizeof(base), base);
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    char name[MAX_PATH * 2];
    snprintf(name, sizeof(name), "%stwk-bench-%lu-%u\\", base, GetCurrentProcessId(), attempt);
    if (CreateDirectoryA(name, nullptr)) return name;
  }
  return std::string();
}

// Starts the command line with our standard handles and environment in
// `folder`, waits for it and returns its exit code (1 when it cannot start).
DWORD RunInFolder(std::string commandLine, const std::string& folder) {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &started)) {
    return 1;
  }
  WinHandle process(started.hProcess);
  WinHandle thread(started.hThread);
  WaitForSingleObject(process.Get(), INFINITE);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.Get(), &exitCode);
  return exitCode;
}

// The console hosts of the last tool runs may outlive the copy for a moment,
// holding the folder as their current folder: try again for a few seconds.
void RemoveWhenReleased(const std::string& folder) {
  for (int attempt = 0; attempt < 60; ++attempt) {
    DeleteTree(folder);
    if (GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    Sleep(50);
  }
}

}  // namespace

std::optional<ProgramFolder> RunningInProgramFolder(int argc, char** argv) {
  if (argc < 3 || strcmp(argv[1], kCopyFlag) != 0) return std::nullopt;
  ProgramFolder folder;
  folder.path = ProgramDirectory();
  folder.standins = std::string(argv[2]) + "\\";
  folder.state = folder.path + "standin-state\\";
  folder.log = folder.path + "standin.log";
  return folder;
}

int RunCopyInProgramFolder() {
  const std::string folder = NewTemporaryFolder();
  if (folder.empty()) {
    fprintf(stderr, "cannot make a temporary program folder\n");
    return 1;
  }
  const std::string copy = folder + FileName(ExecutablePath());
  if (!CopyFileA(ExecutablePath().c_str(), copy.c_str(), FALSE)) {
    fprintf(stderr, "cannot copy the benchmark to %s\n", folder.c_str());
    DeleteTree(folder);
    return 1;
  }
  // The benchmark runs from build/bench; the stand-ins are in build/bin/standins.
  char standins[MAX_PATH] = {};
  GetFullPathNameA((ProgramDirectory() + "..\\bin\\standins").c_str(), sizeof(standins), standins, nullptr);
  const std::string state = folder + "standin-state";
  CreateDirectoryA(state.c_str(), nullptr);
  SetEnvironmentVariableA("STANDIN_STATE", state.c_str());
  SetEnvironmentVariableA("STANDIN_LOG", (folder + "standin.log").c_str());
  SetEnvironmentVariableA("STANDIN_DELAY_MS", nullptr);  // the tools answer at once
  fflush(stdout);
  const DWORD exitCode =
      RunInFolder("\"" + copy + "\" " + kCopyFlag + " \"" + standins + "\"", folder);
  RemoveWhenReleased(folder);
  return static_cast<int>(exitCode);
}

InProcessPage::InProcessPage(const ProgramFolder& folder)
    : diagnostics_(fopen((folder.path + "diagnostics.log").c_str(), "w")) {
  SetCurrentDirectoryA(folder.path.c_str());
  if (diagnostics_) SetDiagnosticsStream(diagnostics_.get());
  environment_.launchTime = static_cast<int64_t>(time(nullptr));
}

// Diagnostics go back to standard error before their file is closed.
InProcessPage::~InProcessPage() { SetDiagnosticsStream(stderr); }

nlohmann::ordered_json InProcessPage::Send(const std::string& func, const nlohmann::ordered_json& data) {
  nlohmann::ordered_json request = {{"func", func}, {"tag", 1}};
  if (!data.is_null()) request["data"] = data;
  const std::string text = request.dump();
  const std::optional<std::string> reply = RunScriptCall(1, &text, environment_);
  return nlohmann::ordered_json::parse(reply.value_or(""), nullptr, false);
}

std::vector<std::string> LoggedToolLines(const ProgramFolder& folder, size_t& offset) {
  std::ifstream file(folder.log, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<std::string> lines;
  while (offset < text.size()) {
    size_t end = text.find('\n', offset);
    if (end == std::string::npos) break;  // a run still writing its line
    lines.push_back(text.substr(offset, end - offset));
    offset = end + 1;
  }
  return lines;
}
