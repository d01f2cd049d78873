// The clone lists with 1, 10, 100 and 500 clones: "getlists" (VMware) and
// "getStatusVBoxlist" (VirtualBox) run by the dispatcher in this process, from
// a temporary program folder, against the stand-in tools answering at once.
//
// Making 500 clones through the clone commands takes minutes (each stand-in
// run reads and rewrites a state that grows with every clone), so the clones
// are written directly, as the clone commands leave them: the stand-ins'
// state files, the clones' machine files and the VirtualBox clone list. Half
// of the clones run and one in ten is suspended (saved), so that the lists
// mark states as they would on a busy host.
//
// For each list: its time per clone, and the share spent outside the tool runs
// (Tarnwick's own work: settings, list files, parsing). The tool runs are
// timed directly, from the tool processes' own creation and exit times (see
// tool_process_clock.h), and counted in the stand-ins' log. What a run costs
// beyond its process's life (starting it, reading its output, waiting for its
// end) is measured by running a sample of the logged command lines again right
// after each list, through the same runner the list uses, and added per run.
//
//   scripts/bench

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_program_folder.h"
#include "bench/bench_table.h"
#include "bench/tool_process_clock.h"
#include "support/json_file.h"
#include "support/output_capture.h"
#include "support/process_runner.h"
#include "support/text_encoding.h"

namespace {

constexpr int kCloneCounts[] = {1, 10, 100, 500};
// Runs sampled again after each list: one in 25, 12 to 60 of them.
size_t SampledRuns(size_t runsPerList) { return std::clamp<size_t>(runsPerList / 25, 12, 60); }
// Lists timed at one clone count: as many as fit this many tool runs, 1 to
// kMostLists. A list's own share is a difference of two noisy times, so the
// quick lists are repeated the most.
constexpr size_t kToolRunsPerCount = 300;
constexpr size_t kMostLists = 25;

enum class Power { kOff, kRunning, kSuspended };

// Every other clone runs; of the rest, one in five is suspended.
Power PowerOfClone(int i) {
  if (i % 2 == 0) return Power::kRunning;
  return i % 10 == 5 ? Power::kSuspended : Power::kOff;
}

bool WriteText(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  return static_cast<bool>(file);
}

struct Backend {
  const char* label;
  const char* listFunc;
  // Saves the settings for `clones` clones.
  bool (*saveSettings)(InProcessPage& page, const ProgramFolder& folder, int clones);
  // Leaves `clones` clones as the clone command would, with the power states above.
  bool (*writeClones)(const ProgramFolder& folder, int clones);
  // The number of clones in a list reply; -1 when it is no list.
  int (*clonesListed)(const nlohmann::ordered_json& reply);
  // Runs one logged tool line again the way the list runs it.
  void (*runTool)(const std::string& commandLine);
};

// VMware: clone i is <storage><i>\<i>.vmx.

std::string VmwareStorage(const ProgramFolder& folder) { return folder.path + "vm clones\\"; }

std::string VmxPath(const ProgramFolder& folder, int i) {
  const std::string n = std::to_string(i);
  return VmwareStorage(folder) + n + "\\" + n + ".vmx";
}

bool SaveVmwareSettings(InProcessPage& page, const ProgramFolder& folder, int clones) {
  const nlohmann::ordered_json settings = {{"InstallationPath", "\"" + AnsiToUtf8(folder.standins) + "vmrun.exe\""},
                                           {"MasterPath", AnsiToUtf8(folder.path) + "master\\master.vmx"},
                                           {"StoragePath", AnsiToUtf8(VmwareStorage(folder))},
                                           {"CloneType", "linked"},
                                           {"CloneNumber", clones},
                                           {"NamePrefix", "web"},
                                           {"StartIntervalTime", 0}};
  return page.Send("Vm_Clone_Settings", settings)["code"] == 200;
}

// The stand-in vmrun.exe's state file: one machine per clone, as its clone
// command records them; its inventory follows at its next run.
bool WriteVmwareClones(const ProgramFolder& folder, int clones) {
  CreateDirectoryA(VmwareStorage(folder).c_str(), nullptr);
  nlohmann::ordered_json machines = nlohmann::ordered_json::array();
  for (int i = 0; i < clones; ++i) {
    const std::string path = VmxPath(folder, i);
    const std::string name = "web" + std::to_string(i);
    CreateDirectoryA(path.substr(0, path.find_last_of('\\')).c_str(), nullptr);
    if (!WriteText(path, ".encoding = \"UTF-8\"\nconfig.version = \"8\"\ndisplayName = \"" + name + "\"\n")) {
      return false;
    }
    const Power power = PowerOfClone(i);
    machines.push_back({{"path", AnsiToUtf8(path)},
                        {"displayName", name},
                        {"isClone", true},
                        {"power", power == Power::kRunning ? "running" : power == Power::kSuspended ? "suspended" : "off"},
                        {"startedAs", power == Power::kRunning ? AnsiToUtf8(path) : ""},
                        {"snapshots", nlohmann::ordered_json::array()}});
  }
  const nlohmann::ordered_json state = {{"machines", machines}};
  return WriteText(folder.state + "vmrun-state.json", state.dump(2) + "\n");
}

int VmwareClonesListed(const nlohmann::ordered_json& reply) {
  if (reply["code"] != 200) return -1;
  const auto list = nlohmann::ordered_json::parse(reply["data"].value("reslist", ""), nullptr, false);
  if (!list.is_object() || !list.contains("data")) return -1;
  const auto& data = list["data"];
  const auto running = std::count_if(data.begin(), data.end(), [](const auto& c) { return c["state"] == "runing"; });
  const auto paused = std::count_if(data.begin(), data.end(), [](const auto& c) { return c["state"] == "paused"; });
  // Every state must have been read, or the list did less than it would.
  const int clones = static_cast<int>(data.size());
  int expectedRunning = 0;
  int expectedPaused = 0;
  for (int i = 0; i < clones; ++i) {
    expectedRunning += PowerOfClone(i) == Power::kRunning;
    expectedPaused += PowerOfClone(i) == Power::kSuspended;
  }
  return running == expectedRunning && paused == expectedPaused ? clones : -1;
}

// VirtualBox: clone i is machine vm<i> in <storage><i>\vm<i>.

std::string VboxStorage(const ProgramFolder& folder) { return folder.path + "vbox clones\\"; }

bool SaveVboxSettings(InProcessPage& page, const ProgramFolder& folder, int clones) {
  const nlohmann::ordered_json settings = {{"InstallationPath", "\"" + AnsiToUtf8(folder.standins) + "VBoxManage.exe\""},
                                           {"MasterName", "master"},
                                           {"StoragePath", AnsiToUtf8(VboxStorage(folder))},
                                           {"CloneTypy", "link"},
                                           {"CloneNumber", clones},
                                           {"NamePrefix", "vm"},
                                           {"StartIntervalTime", 0}};
  return page.Send("VboxPreferences", settings)["code"] == 200;
}

std::string Uuid(int i) { return Format("%08x-0000-4000-8000-%012x", i + 1, i); }

// The stand-in VBoxManage.exe's state file (the master with one snapshot per
// clone, the clones) and the clone list as the clone command writes it, its
// UUIDs, paths and states still to be read by the status list.
bool WriteVboxClones(const ProgramFolder& folder, int clones) {
  const std::string since = "2026-01-05T08:00:00.000000000";
  nlohmann::ordered_json snapshots = nlohmann::ordered_json::array();
  nlohmann::ordered_json machines = nlohmann::ordered_json::array();
  Json::Document records = Json::Document::array();
  for (int i = 0; i < clones; ++i) {
    const std::string n = std::to_string(i);
    snapshots.push_back({{"uuid", Uuid(100000 + i)}, {"name", n}, {"description", ""}});
    const Power power = PowerOfClone(i);
    machines.push_back(
        {{"uuid", Uuid(i)},
         {"name", "vm" + n},
         {"settingsFile", AnsiToUtf8(VboxStorage(folder)) + n + "\\vm" + n + "\\vm" + n + ".vbox"},
         {"state", power == Power::kRunning ? "running" : power == Power::kSuspended ? "saved" : "powered off"},
         {"stateSince", since},
         {"snapshots", nlohmann::ordered_json::array()}});
    records.push_back({{"id", i},          {"snapshot", i},   {"name", "vm" + n},       {"uuid", "dbug"},
                       {"path", "dbug"},   {"state", "dbug"}, {"belongTo", "master"}});
  }
  const nlohmann::ordered_json master = {
      {"uuid", Uuid(99999)},          {"name", "master"},
      {"settingsFile", AnsiToUtf8(folder.state) + "VirtualBox VMs\\master\\master.vbox"},
      {"state", "powered off"},       {"stateSince", since},
      {"snapshots", snapshots}};
  machines.insert(machines.begin(), master);
  const nlohmann::ordered_json state = {{"machines", machines}};
  const Json::Document list = {{"code", 200}, {"data", records}};
  return WriteText(folder.state + "vboxmanage-state.json", state.dump(2) + "\n") &&
         JsonFile::Write(list, folder.path + "vboxBootlist.json");
}

int VboxClonesListed(const nlohmann::ordered_json& reply) {
  if (reply["code"] != 200) return -1;
  const auto list = nlohmann::ordered_json::parse(reply["data"].value("Rsultvboxlist", ""), nullptr, false);
  if (!list.is_object() || !list.contains("data")) return -1;
  // Every record must have been read from the tool.
  for (const auto& record : list["data"]) {
    if (record.value("uuid", "") == "dbug" || record.value("state", "").empty()) return -1;
  }
  return static_cast<int>(list["data"].size());
}

void RunVmrunAsList(const std::string& commandLine) { CaptureWholeOutput(commandLine); }
void RunVBoxManageAsList(const std::string& commandLine) { RunCaptured(commandLine, "replay.ctemp"); }

const Backend kBackends[] = {
    {"VMware \"getlists\"", "getlists", SaveVmwareSettings, WriteVmwareClones, VmwareClonesListed, RunVmrunAsList},
    {"VirtualBox \"getStatusVBoxlist\"", "getStatusVBoxlist", SaveVboxSettings, WriteVboxClones, VboxClonesListed,
     RunVBoxManageAsList},
};

// Every `step`-th of the lines, at most `count` of them.
std::vector<std::string> Sample(const std::vector<std::string>& lines, size_t count) {
  std::vector<std::string> sample;
  const size_t step = lines.size() > count ? lines.size() / count : 1;
  for (size_t i = 0; i < lines.size() && sample.size() < count; i += step) sample.push_back(lines[i]);
  return sample;
}

class ListMeasurement {
 public:
  ListMeasurement(const Backend& backend, InProcessPage& page, const ProgramFolder& folder, ToolProcessClock& clock)
      : backend_(backend), page_(page), folder_(folder), clock_(clock) {
    // What ran before is not this backend's.
    LoggedToolLines(folder_, logOffset_);
    clock_.TakeEnded(0);
  }

  bool Run() {
    for (int clones : kCloneCounts) {
      if (!MeasureAt(clones)) return false;
    }
    return true;
  }

 private:
  // One list; false when it fails or does not list every clone with its state.
  bool List(int clones, double& ms) {
    const double start = NowMs();
    const nlohmann::ordered_json reply = page_.Send(backend_.listFunc);
    ms = NowMs() - start;
    if (backend_.clonesListed(reply) == clones) return true;
    fprintf(stderr, "%s, %d clones: unexpected reply %.300s\n", backend_.label, clones, reply.dump().c_str());
    const std::vector<std::string> lines = LoggedToolLines(folder_, logOffset_);
    if (!lines.empty()) {
      fprintf(stderr, "its last tool run: %s\nanswers: %s\n", lines.back().c_str(),
              RunCaptured(lines.back(), "replay.ctemp").c_str());
    }
    return false;
  }

  // The logged tool lines of what ran since the last call, and their processes' lifetimes.
  std::vector<std::string> TakeRuns(std::vector<double>& lifetimes) {
    std::vector<std::string> lines = LoggedToolLines(folder_, logOffset_);
    const std::vector<double> ended = clock_.TakeEnded(lines.size());
    lifetimes.insert(lifetimes.end(), ended.begin(), ended.end());
    return lines;
  }

  bool MeasureAt(int clones) {
    if (!backend_.saveSettings(page_, folder_, clones) || !backend_.writeClones(folder_, clones)) {
      fprintf(stderr, "%s: cannot set up %d clones\n", backend_.label, clones);
      return false;
    }
    double ms = 0;
    std::vector<double> unused;
    if (runsPerClone_ == 0) {  // the first list: warms up, and tells how many tool runs a list makes
      if (!List(clones, ms)) return false;
      runsPerClone_ = static_cast<double>(std::max<size_t>(1, TakeRuns(unused).size())) / clones;
    }
    const size_t expectedRuns = std::max<size_t>(1, static_cast<size_t>(runsPerClone_ * clones));
    const int lists = static_cast<int>(std::clamp<size_t>(kToolRunsPerCount / expectedRuns, 1, kMostLists));

    std::vector<double> listMs;
    std::vector<double> lifeMs;      // the lists' tool processes
    std::vector<double> runMs;       // the sampled runs, through the runner
    std::vector<double> runLifeMs;   // ... and their processes
    size_t runsPerList = 0;
    for (int list = 0; list < lists; ++list) {
      if (!List(clones, ms)) return false;
      listMs.push_back(ms);
      const std::vector<std::string> lines = TakeRuns(lifeMs);
      runsPerList = lines.size();
      for (const std::string& line : Sample(lines, SampledRuns(lines.size()))) {
        const double start = NowMs();
        backend_.runTool(line);
        runMs.push_back(NowMs() - start);
        TakeRuns(runLifeMs);
      }
    }
    runsPerClone_ = static_cast<double>(std::max<size_t>(1, runsPerList)) / clones;

    // Means throughout: a list's tool time is the sum of its runs. Without
    // process times, a run costs what a sampled run through the runner did.
    const double list = Mean(listMs);
    const double overhead = clock_.working() ? Mean(runMs) - Mean(runLifeMs) : 0.0;
    const double run = (clock_.working() ? Mean(lifeMs) : Mean(runMs)) + overhead;
    const double own = list - static_cast<double>(runsPerList) * run;
    fprintf(stderr,
            "%s, %d clones: %d list%s of %.1f..%.1f ms; %zu tool processes timed, life %.1f ms mean; %zu runs "
            "sampled, %.1f ms mean through the runner, of which %.1f ms beyond the process's life\n",
            backend_.label, clones, lists, lists == 1 ? "" : "s", Percentile(listMs, 0), Percentile(listMs, 1),
            lifeMs.size(), Mean(lifeMs), runMs.size(), Mean(runMs), overhead);
    PrintRow(Format("%s, %d clone%s: time per clone; own share (outside tool runs)", backend_.label, clones,
                    clones == 1 ? "" : "s"),
             "flat per clone; own < 10 %",
             Format("%.2f ms per clone (list %.1f ms = %zu tool run%s x %.1f ms + own %.1f ms); own %.2f ms per clone "
                    "= %.0f %%",
                    list / clones, list, runsPerList, runsPerList == 1 ? "" : "s", run, own, own / clones,
                    100.0 * own / list));
    return true;
  }

  const Backend& backend_;
  InProcessPage& page_;
  const ProgramFolder& folder_;
  ToolProcessClock& clock_;
  size_t logOffset_ = 0;
  double runsPerClone_ = 0;  // as the last list made them
};

int RunInProgramFolder(const ProgramFolder& folder) {
  InProcessPage page(folder);
  ToolProcessClock clock;
  if (!clock.working()) fprintf(stderr, "tool processes cannot be timed: tool runs are timed by samples only\n");
  int status = 0;
  for (const Backend& backend : kBackends) {
    if (!ListMeasurement(backend, page, folder, clock).Run()) status = 1;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (const std::optional<ProgramFolder> folder = RunningInProgramFolder(argc, argv)) {
    return RunInProgramFolder(*folder);
  }
  return RunCopyInProgramFolder();
}
