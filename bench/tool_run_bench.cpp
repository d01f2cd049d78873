// The cost of running a tool through RunAndWait against a bare CreateProcessA,
// WaitForSingleObject and CloseHandle of the same program, in the same run:
// the kinds of run are interleaved (rotating which goes first) so that all see
// the same machine, and each figure is the median and 95th percentile of many
// runs. Two bare runs: with default flags (the child shares this process's
// console) and with RunAndWait's own start-up flags (CREATE_NO_WINDOW, window
// hidden), which tells the cost of the hidden console from that of the runner.
//
// Programs: a no-op tool built beside the benchmarks (start-up and exit only,
// the strictest case for the ratio), and the stand-in vmrun.exe running a
// start line for a machine that is already running, as the start operation's
// second run of each line does: it prints nothing and changes nothing.
//
//   scripts/bench

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_table.h"
#include "support/folder_tree.h"
#include "support/process_runner.h"
#include "support/program_directory.h"
#include "support/win_handle.h"

namespace {

constexpr int kWarmUpRounds = 3;
constexpr int kRounds = 100;

struct Program {
  const char* label;
  std::string commandLine;
};

// Milliseconds for one bare run: start, wait for the end, close the handles;
// negative when the program cannot be started.
double BareRunMs(const std::string& commandLine, bool hiddenConsole) {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  if (hiddenConsole) {
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
  }
  PROCESS_INFORMATION started{};
  std::string mutableLine = commandLine;
  const double start = NowMs();
  if (!CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, hiddenConsole ? CREATE_NO_WINDOW : 0,
                      nullptr, nullptr, &startup, &started)) {
    return -1.0;
  }
  WinHandle process(started.hProcess);
  WinHandle thread(started.hThread);
  WaitForSingleObject(process.Get(), INFINITE);
  process.Close();
  thread.Close();
  return NowMs() - start;
}

double RunnerMs(const std::string& commandLine) {
  const double start = NowMs();
  if (!RunAndWait(commandLine)) return -1.0;
  return NowMs() - start;
}

enum RunKind { kRunner, kBare, kBareHidden, kRunKinds };

double RunOnce(RunKind kind, const std::string& commandLine) {
  switch (kind) {
    case kRunner:
      return RunnerMs(commandLine);
    case kBare:
      return BareRunMs(commandLine, false);
    default:
      return BareRunMs(commandLine, true);
  }
}

bool Measure(const Program& program) {
  std::vector<double> times[kRunKinds];
  for (int round = 0; round < kWarmUpRounds + kRounds; ++round) {
    for (int k = 0; k < kRunKinds; ++k) {
      const RunKind kind = static_cast<RunKind>((round + k) % kRunKinds);
      const double ms = RunOnce(kind, program.commandLine);
      if (ms < 0) {
        fprintf(stderr, "cannot start %s\n", program.commandLine.c_str());
        return false;
      }
      if (round >= kWarmUpRounds) times[kind].push_back(ms);
    }
  }
  const double runner = Percentile(times[kRunner], 0.5);
  const double bare = Percentile(times[kBare], 0.5);
  const double hidden = Percentile(times[kBareHidden], 0.5);
  const double runnerP95 = Percentile(times[kRunner], 0.95);
  const double bareP95 = Percentile(times[kBare], 0.95);
  const double hiddenP95 = Percentile(times[kBareHidden], 0.95);
  PrintRow(Format("tool run (RunAndWait), %s, %d runs: time / bare CreateProcessA+wait+close", program.label, kRounds),
           "ratio <= 1.1",
           Format("median %.2f (%.1f / %.1f ms), p95 %.2f (%.1f / %.1f ms); bare with RunAndWait's flags "
                  "(CREATE_NO_WINDOW, hidden): median %.2f (%.1f ms), p95 %.2f",
                  runner / bare, runner, bare, runnerP95 / bareP95, runnerP95, bareP95, runner / hidden, hidden,
                  runnerP95 / hiddenP95));
  return true;
}

// A machine file the stand-in vmrun.exe takes for a machine, started once, so
// that every further start line finds it running.
std::string RunningMachine(const std::string& vmrun, const std::string& folder) {
  const std::string machine = folder + "idle.vmx";
  std::ofstream(machine, std::ios::binary) << "config.version = \"8\"\n";
  RunAndWait(vmrun + " -T ws start \"" + machine + "\" gui");
  return machine;
}

}  // namespace

int main() {
  // The stand-in keeps its state in a folder of its own here, not beside itself.
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof(temp), temp);
  const std::string state = std::string(temp) + "tarnwick-tool-run-bench\\";
  CreateDirectoryA(state.c_str(), nullptr);
  SetEnvironmentVariableA("STANDIN_STATE", state.c_str());
  SetEnvironmentVariableA("STANDIN_LOG", nullptr);
  SetEnvironmentVariableA("STANDIN_DELAY_MS", nullptr);

  // The benchmark runs from build/bench; the product's programs are in build/bin.
  const std::string benchFolder = ProgramDirectory();
  const std::string vmrun = "\"" + benchFolder + "..\\bin\\standins\\vmrun.exe\"";
  const Program programs[] = {
      {"no-op tool", "\"" + benchFolder + "helpers\\noop_tool.exe\""},
      {"stand-in vmrun start (already running)",
       vmrun + " -T ws start \"" + RunningMachine(vmrun, state) + "\" gui"},
  };
  int status = 0;
  for (const Program& program : programs) {
    if (!Measure(program)) status = 1;
  }
  DeleteTree(state);
  return status;
}
