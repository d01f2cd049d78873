// Saves of the settings killed at random moments: whenever the process dies,
// each settings file reads as one whole save, the one before or the one in
// progress, never as nothing or a mix.

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <set>

#include "commands/dispatcher.h"
#include "support/diagnostics.h"
#include "support/json_file.h"
#include "support/json_text.h"
#include "tests/safety/child_modes.h"
#include "tests/safety/cli_sandbox.h"
#include "tests/safety/sandboxed_self.h"
#include "tests/safety/tree_snapshot.h"

namespace safety {

namespace {

constexpr int kKills = 200;
// The kill comes this long (at most) after the child reported its first
// saves; a save takes a few milliseconds, so the kills land all over the
// loop: in the middle of writing, renaming, reading the registry, parsing.
constexpr int kLongestDelayMicroseconds = 20000;
constexpr unsigned kSeed = 20240611;

// Two settings the page could send, different in every member.
nlohmann::ordered_json VmwareSettings(int which) {
  return {{"InstallationPath", which ? "\"C:\\Tools B\\vmrun.exe\"" : "\"C:\\A\\vmrun.exe\""},
          {"MasterPath", which ? "D:\\masters\\second\\second.vmx" : "D:\\m\\m.vmx"},
          {"StoragePath", which ? "E:\\clones of B\\" : "D:\\c\\"},
          {"BootTask", which ? "task-b" : "a"},
          {"CloneType", which ? "full" : "linked"},
          {"CloneNumber", which ? 250 : 3},
          {"NamePrefix", which ? "second-web" : "web"},
          {"StartIntervalTime", which ? 45 : 0}};
}

nlohmann::ordered_json VboxSettings(int which) {
  return {{"InstallationPath", which ? "\"C:\\Oracle B\\VBoxManage.exe\"" : "\"C:\\VB\\VBoxManage.exe\""},
          {"MasterName", which ? "second master" : "master"},
          {"StoragePath", which ? "E:\\vbox clones\\b" : "D:\\v"},
          {"CloneTypy", which ? "keepallmacs" : "link"},
          {"CloneNumber", which ? 12 : 2},
          {"NamePrefix", which ? "bee" : "vm"},
          {"StartIntervalTime", which ? 9 : 1}};
}

// What each file holds after a whole save of settings `which`, compact.
std::string VmwareFileText(int which) {
  nlohmann::ordered_json prefs = VmwareSettings(which);
  nlohmann::ordered_json stored = nlohmann::ordered_json::object();
  for (const char* member : {"InstallationPath", "MasterPath", "StoragePath", "BootTask"})
    stored[member] = prefs[member];
  stored["CloneTypy"] = prefs["CloneType"];
  for (const char* member : {"CloneNumber", "NamePrefix", "StartIntervalTime"}) stored[member] = prefs[member];
  return nlohmann::ordered_json{{"Prefs", {stored}}}.dump();
}

std::string VboxFileText(int which) { return nlohmann::ordered_json{{"Prefs", {VboxSettings(which)}}}.dump(); }

void Save(const char* func, const nlohmann::ordered_json& data, CommandEnvironment& environment) {
  const std::string request = nlohmann::ordered_json{{"func", func}, {"tag", 1}, {"data", data}}.dump();
  RunScriptCall(1, &request, environment);
}

void Busy(std::chrono::microseconds delay) {
  const auto until = std::chrono::steady_clock::now() + delay;
  while (std::chrono::steady_clock::now() < until) {
  }
}

// The file as the product reads it: its compact text, or "" when it reads as
// nothing (missing, empty, cut short, not JSON).
std::string ReadAsProductDoes(const std::string& path) {
  const std::optional<Json::Document> document = JsonFile::Read(path);
  return document ? Json::SerializeCompact(*document) : std::string();
}

std::string Describe(const std::string& text) { return text.empty() ? "nothing readable" : text; }

// One settings file and what was found in it.
struct SettingsFile {
  std::string path;
  std::string texts[2];         // after a whole save of settings 0 and 1
  std::set<int> seen;           // which of them was found after a kill
  std::set<std::string> bytes;  // the file's bytes as found, for the leftovers
};

// A program folder with a saving child in it. Several run side by side, so
// one starts up while another is being killed.
class SaveSlot {
 public:
  explicit SaveSlot(CliSandbox& sandbox)
      : sandbox_(sandbox),
        command_(SandboxedSelfCommand(sandbox.ProgramFolder(), kSaveLoopMode)),
        files_{{sandbox.ProgramFile("VMwarePrefs.json"), {VmwareFileText(0), VmwareFileText(1)}, {}, {}},
               {sandbox.ProgramFile("VBoxPrefs.json"), {VboxFileText(0), VboxFileText(1)}, {}, {}}} {}

  void Start() { saver_ = std::make_unique<WatchedChild>(command_, std::vector<std::string>{}); }

  // Waits until the child has saved both files once, lets it go on for
  // `delay` and kills it; then each file must read as one whole save.
  void KillAfter(std::chrono::microseconds delay, const std::string& kill) {
    ASSERT_TRUE(saver_ && saver_->Started()) << command_ << " did not start, error " << saver_->StartError();
    char ready = 0;
    ASSERT_TRUE(saver_->ReadByte(ready)) << "the saving child ended before its first saves (" << kill << ")";
    Busy(delay);
    saver_->Kill();
    saver_.reset();
    for (SettingsFile& file : files_) {
      const std::string text = ReadAsProductDoes(file.path);
      const int which = text == file.texts[0] ? 0 : text == file.texts[1] ? 1 : -1;
      ASSERT_NE(which, -1) << file.path << " after " << kill << " reads as " << Describe(text);
      file.seen.insert(which);
      file.bytes.insert(testing_support::ReadFileBytes(file.path));
    }
  }

  const SettingsFile* begin() const { return files_; }
  const SettingsFile* end() const { return files_ + 2; }
  CliSandbox& sandbox() const { return sandbox_; }

 private:
  CliSandbox& sandbox_;
  std::string command_;
  SettingsFile files_[2];
  std::unique_ptr<WatchedChild> saver_;
};

// The files a killed save left in the program folder: only the writer's own
// temporary files ("<settings file>.<process id>.saving"), each holding the
// start of a save, and at most one per settings file (each save removes the
// ones earlier kills left). Returns their names.
std::vector<std::string> CheckLeftovers(const SaveSlot& slot) {
  std::vector<std::string> leftovers;
  const std::string folder = slot.sandbox().ProgramFolder();
  for (const std::string& name : FileNamesIn(folder)) {
    if (name == "safety-child.exe" || name == "tarnwick-cli.exe" || name == "VMwarePrefs.json" ||
        name == "VBoxPrefs.json") {
      continue;
    }
    leftovers.push_back(name);
    const bool ofVmware = _strnicmp(name.c_str(), "VMwarePrefs.json.", 17) == 0;
    const bool ofVbox = _strnicmp(name.c_str(), "VBoxPrefs.json.", 15) == 0;
    EXPECT_TRUE((ofVmware || ofVbox) && name.size() > 7 && _stricmp(name.c_str() + name.size() - 7, ".saving") == 0)
        << "a file no save makes: " << folder << name;
    const std::string bytes = testing_support::ReadFileBytes(folder + name);
    bool startOfASave = false;
    for (const SettingsFile& file : slot) {
      for (const std::string& whole : file.bytes) startOfASave = startOfASave || whole.starts_with(bytes);
    }
    EXPECT_TRUE(startOfASave) << folder << name << " holds something no save wrote: " << bytes.substr(0, 200);
  }
  EXPECT_LE(leftovers.size(), 2u) << "leftovers of earlier kills were not removed in " << folder;
  return leftovers;
}

class CrashSafetyTest : public ::testing::Test {
 protected:
  void SetUp() override { ForgetInstalledHypervisors(); }

  CliSandbox sandboxes_[3];
};

TEST_F(CrashSafetyTest, KilledSavesLeaveEachSettingsFileWholeOldOrNew) {
  std::vector<std::unique_ptr<SaveSlot>> slots;
  for (CliSandbox& sandbox : sandboxes_) slots.push_back(std::make_unique<SaveSlot>(sandbox));
  for (auto& slot : slots) slot->Start();

  std::mt19937 random(kSeed);
  std::uniform_int_distribution<int> delays(0, kLongestDelayMicroseconds);
  for (int kill = 0; kill < kKills; ++kill) {
    SaveSlot& slot = *slots[kill % slots.size()];
    const int delay = delays(random);
    slot.KillAfter(std::chrono::microseconds(delay), "kill " + std::to_string(kill) + ", " + std::to_string(delay) +
                                                         " us after the first saves, seed " + std::to_string(kSeed));
    if (HasFatalFailure()) return;
    if (kill + slots.size() < kKills) slot.Start();
  }

  size_t leftoverCount = 0;
  std::string names;
  for (const auto& slot : slots) {
    // Both settings were found, so the saves went on between the kills.
    for (const SettingsFile& file : *slot) EXPECT_EQ(file.seen.size(), 2u) << file.path;
    for (const std::string& name : CheckLeftovers(*slot)) {
      ++leftoverCount;
      if (names.size() < 200) names += " " + name;
    }
  }
  RecordProperty("leftover_temporary_files", static_cast<int>(leftoverCount));
  printf("[ note     ] %d kills left %zu temporary files in the program folders:%s\n", kKills, leftoverCount,
         names.c_str());

  // The next save, with the leftovers still there, works as ever.
  const CliReply saved = sandboxes_[0].Send("Vm_Clone_Settings", VmwareSettings(1));
  ASSERT_EQ(RunProblem(saved), "");
  EXPECT_EQ(saved.parsed["code"], 200);
  EXPECT_EQ(ReadAsProductDoes(sandboxes_[0].ProgramFile("VMwarePrefs.json")), VmwareFileText(1));
}

}  // namespace

int SaveLoopChild() {
  SetDiagnosticsStream(stderr);
  CommandEnvironment environment;
  for (int round = 0;; ++round) {
    const int which = round % 2;
    Save("Vm_Clone_Settings", VmwareSettings(which), environment);
    Save("VboxPreferences", VboxSettings(which), environment);
    if (round == 0) {
      fputc('R', stdout);
      fflush(stdout);
    }
  }
}

}  // namespace safety
