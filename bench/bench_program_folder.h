#pragma once
// Running the product's page commands inside the benchmark's own process.
// Settings and list files live beside the running executable, so the
// benchmark copies itself into a fresh temporary program folder and runs the
// copy there; the copy sends its requests straight to the dispatcher, as the
// window program does, against the stand-in tools.

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "commands/script_call.h"

struct ProgramFolder {
  std::string path;      // the copy's folder, ending in a backslash (ANSI code page)
  std::string standins;  // the stand-in tools' folder of the build, ending in a backslash
  std::string state;     // the stand-ins' state folder (STANDIN_STATE), ending in a backslash
  std::string log;       // the stand-ins' log (STANDIN_LOG): one line per tool run
};

// In the copy: where it runs. nullopt in the benchmark as scripts/bench starts it.
std::optional<ProgramFolder> RunningInProgramFolder(int argc, char** argv);

// In the benchmark as scripts/bench starts it: copies this executable into a
// fresh temporary folder, runs the copy there (its rows and details go to our
// standard output and error), removes the folder. Returns the copy's exit code.
int RunCopyInProgramFolder();

// Page requests answered by the dispatcher in this process. The current folder
// becomes the program folder, as in the window program; the commands' own
// diagnostic lines go to diagnostics.log there, out of the table.
class InProcessPage {
 public:
  explicit InProcessPage(const ProgramFolder& folder);
  ~InProcessPage();
  InProcessPage(const InProcessPage&) = delete;
  InProcessPage& operator=(const InProcessPage&) = delete;

  // {"func": func, "tag": 1, "data": data}; the parsed reply (discarded when it is none).
  nlohmann::ordered_json Send(const std::string& func, const nlohmann::ordered_json& data = nullptr);

 private:
  struct FileCloser {
    void operator()(FILE* file) const { fclose(file); }
  };
  std::unique_ptr<FILE, FileCloser> diagnostics_;
  CommandEnvironment environment_;
};

// The tool command lines the stand-ins logged from byte `offset` of the log on;
// `offset` moves past them.
std::vector<std::string> LoggedToolLines(const ProgramFolder& folder, size_t& offset);
