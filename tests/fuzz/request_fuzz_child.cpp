// The child's request fuzz: generated and mutated requests through the
// dispatcher, in-process, in the sandbox program folder with the stand-in tools.

#include <algorithm>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "commands/command_table.h"
#include "commands/dispatcher.h"
#include "tests/fuzz/child_environment.h"
#include "tests/fuzz/child_guard.h"
#include "tests/fuzz/child_mode.h"
#include "tests/fuzz/reply_check.h"
#include "tests/fuzz/request_generator.h"
#include "tests/fuzz/request_safety.h"
#include "tests/fuzz/sandbox_mark.h"
#include "tests/fuzz/sandbox_shell.h"
#include "tests/common/test_support.h"

namespace {

constexpr int64_t kLaunchTime = 1700000000;
constexpr uint64_t kReportedFailures = 20;  // in full; the rest are counted
// With a run of this size every command name must have been sent this often.
constexpr uint64_t kFullRun = 10000;
constexpr uint64_t kTimesEachCommand = 10;

std::string Replay(const FuzzRun& run, uint64_t index) {
  const std::string command = "fuzz_tests.exe --gtest_filter=RequestFuzz.*";
  return "  replay it alone: " + command + " " + FuzzRunArguments({run.seed, index, 1}) +
         "\n  replay the run up to it: " + command + " " + FuzzRunArguments({run.seed, run.first, index - run.first + 1});
}

std::string Describe(const FuzzRun& run, uint64_t index, const FuzzRequest& request, const std::string& text) {
  std::string line = "request #" + std::to_string(index) + " of seed " + std::to_string(run.seed) + " (" +
                     request.kind + ", callback id " + std::to_string(request.callbackId) + "): ";
  line += request.present ? Excerpt(text) : "no request text";
  return line + "\n" + Replay(run, index);
}

// Sends one request; what was wrong with its answer, or "".
std::string SendOne(const FuzzRequest& request, const std::string& text, CommandEnvironment& environment,
                    const RequestRead& read) {
  std::optional<std::string> reply;
  try {
    reply = RunScriptCall(request.callbackId, request.present ? &text : nullptr, environment);
  } catch (const std::exception& error) {
    return std::string("an exception left RunScriptCall: ") + error.what();
  } catch (...) {
    return "an exception left RunScriptCall";
  }
  std::string problem = ReplyProblem(request.callbackId, read, reply);
  if (!problem.empty() && reply) problem += "\n  reply: " + Excerpt(*reply);
  return problem;
}

// The stand-ins log one line per run.
size_t ToolRuns() {
  const char* log = std::getenv("STANDIN_LOG");
  if (!log) return 0;
  const std::string text = testing_support::ReadFileBytes(log);
  return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace

int RunRequestFuzz(const FuzzRun& run) {
  SandboxProcess process;
  if (!process.error().empty()) {
    Report("SETUP FAILED: " + process.error());
    return kExitSetupFailed;
  }
  CaseGuard guard;
  SandboxChoosers choosers(process.folder().ansi);
  CountingWindow window;
  CommandEnvironment environment;
  environment.launchTime = kLaunchTime;
  environment.window = &window;
  environment.choosers = &choosers;

  std::map<std::string, uint64_t> sent;  // requests per command name they named
  uint64_t failures = 0;
  uint64_t madeSafe = 0;
  for (uint64_t index = run.first; index < run.first + run.count; ++index) {
    FuzzRandom random = FuzzRandom::ForRequest(run.seed, index);
    const FuzzRequest request = GenerateRequest(random, index);
    std::string text = PutSandboxInJson(request.text, process.folder().utf8);
    if (request.present && MakeRequestSafe(text, process.folder())) ++madeSafe;
    choosers.Reseed(random.Next());
    const RequestRead read = ReadLikeTheDispatcher(request.present ? &text : nullptr);
    ++sent[read.func];

    const std::string description = Describe(run, index, request, text);
    guard.Begin(description);
    const std::string problem = SendOne(request, text, environment, read);
    guard.End();
    if (problem.empty()) continue;
    if (++failures <= kReportedFailures) Report("FAIL " + description + "\n  problem: " + problem);
  }

  if (run.count >= kFullRun) {
    for (const CommandRow& row : CommandTable()) {
      if (sent[row.name] >= kTimesEachCommand) continue;
      ++failures;
      Report(std::string("FAIL the generator sent \"") + row.name + "\" only " + std::to_string(sent[row.name]) +
             " times");
    }
  }
  Report("request fuzz: " + std::to_string(run.count) + " requests from #" + std::to_string(run.first) +
         " of seed " + std::to_string(run.seed) + ", " + std::to_string(madeSafe) + " made safe, " + std::to_string(ToolRuns()) + " tool runs, " +
         std::to_string(choosers.opened()) + " addresses kept from the shell, " + std::to_string(failures) +
         " faults");
  return failures == 0 ? 0 : 1;
}
