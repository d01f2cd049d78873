// The processor time of the interval wait: "Vm_PowerON" for all of 2 clones
// with a start interval of 5 seconds (10 s of waiting in all), run by the
// dispatcher in this process on a thread with a window, as in the window
// program, against the stand-in vmrun.exe answering at once. The figure is
// this process's own processor time (user + kernel) during the command; the
// stand-in runs are processes of their own and not in it. The same command
// with an interval of 0 is the reference: the cost of everything but waiting.
//
//   scripts/bench

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <type_traits>

#include "bench/bench_program_folder.h"
#include "bench/bench_table.h"
#include "support/text_encoding.h"

namespace {

constexpr int kClones = 2;

struct WindowDestroyer {
  void operator()(HWND window) const { DestroyWindow(window); }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;
constexpr int kIntervalSeconds = 5;

bool SaveSettings(InProcessPage& page, const ProgramFolder& folder, int intervalSeconds) {
  const nlohmann::ordered_json settings = {{"InstallationPath", "\"" + AnsiToUtf8(folder.standins) + "vmrun.exe\""},
                                           {"MasterPath", AnsiToUtf8(folder.path) + "master\\master.vmx"},
                                           {"StoragePath", AnsiToUtf8(folder.path) + "clones\\"},
                                           {"CloneType", "linked"},
                                           {"CloneNumber", kClones},
                                           {"NamePrefix", "web"},
                                           {"StartIntervalTime", intervalSeconds}};
  return page.Send("Vm_Clone_Settings", settings)["code"] == 200;
}

bool MakeClones(InProcessPage& page, const ProgramFolder& folder) {
  CreateDirectoryA((folder.path + "master").c_str(), nullptr);
  std::ofstream master(folder.path + "master\\master.vmx", std::ios::binary);
  master << "config.version = \"8\"\n";
  master.close();
  return master && SaveSettings(page, folder, 0) && page.Send("Vm_Start_Cloning", {{"number", kClones}})["code"] == 200;
}

struct StartAllCost {
  bool started = false;  // the command answered success
  double processorSeconds = 0;
  double wallSeconds = 0;
  size_t toolRuns = 0;
};

// Starts all clones (each start line runs twice) and stops them again, untimed.
StartAllCost StartAll(InProcessPage& page, const ProgramFolder& folder, int intervalSeconds, size_t& logOffset) {
  SaveSettings(page, folder, intervalSeconds);
  LoggedToolLines(folder, logOffset);
  StartAllCost cost;
  const double processorBefore = ProcessorSeconds(GetCurrentProcess());
  const double start = NowMs();
  cost.started = page.Send("Vm_PowerON", {{"type", 0}, {"VmxId", 0}})["code"] == 200;
  cost.wallSeconds = (NowMs() - start) / 1000.0;
  cost.processorSeconds = ProcessorSeconds(GetCurrentProcess()) - processorBefore;
  cost.toolRuns = LoggedToolLines(folder, logOffset).size();
  SaveSettings(page, folder, 0);
  page.Send("Vm_Shutdown", {{"type", 0}, {"VmxId", 0}, {"off_Type", 1}});
  LoggedToolLines(folder, logOffset);
  return cost;
}

int RunInProgramFolder(const ProgramFolder& folder) {
  InProcessPage page(folder);
  // The window program's thread has a window and a message queue the wait serves.
  const UniqueWindow window(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                            GetModuleHandleW(nullptr), nullptr));
  if (!MakeClones(page, folder)) {
    fprintf(stderr, "cannot make the clones\n");
    return 1;
  }
  size_t logOffset = 0;
  const StartAllCost reference = StartAll(page, folder, 0, logOffset);
  const StartAllCost waiting = StartAll(page, folder, kIntervalSeconds, logOffset);
  if (!reference.started || !waiting.started) {
    fprintf(stderr, "\"Vm_PowerON\" failed\n");
    return 1;
  }
  PrintRow(Format("interval wait: processor time of \"Vm_PowerON\", %d clones, interval %d s", kClones,
                  kIntervalSeconds),
           Format("< 0.1 s for %d s of waiting", kClones * kIntervalSeconds),
           Format("%.3f s in %.1f s (%zu tool runs; with interval 0: %.3f s in %.2f s)", waiting.processorSeconds,
                  waiting.wallSeconds, waiting.toolRuns, reference.processorSeconds, reference.wallSeconds));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (const std::optional<ProgramFolder> folder = RunningInProgramFolder(argc, argv)) {
    return RunInProgramFolder(*folder);
  }
  return RunCopyInProgramFolder();
}
