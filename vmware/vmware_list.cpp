#include "vmware/vmware_list.h"

#include <io.h>
#include <share.h>

#include <charconv>
#include <cstdio>
#include <memory>
#include <vector>

#include "support/console_texts.h"
#include "support/diagnostics.h"
#include "support/folder_tree.h"
#include "support/json_file.h"
#include "support/message_pump.h"
#include "support/output_capture.h"
#include "support/program_directory.h"
#include "support/text_encoding.h"
#include "support/vmrun_words.h"
#include "vmware/vmware_inventory.h"
#include "vmware/vmware_prefs.h"

namespace VmwareBackend {

namespace {

// Scratch files, by bare name in the current folder: what the last refresh saw.
constexpr char kCountedFolders[] = "1.vdat";
constexpr char kListedFolders[] = "dir.vlist";
constexpr char kRunningList[] = "list.dat";

constexpr char kUnknown[] = "unknown";
constexpr char kRunning[] = "runing";
constexpr char kPaused[] = "paused";

struct FileCloser {
  void operator()(FILE* file) const { fclose(file); }
};

bool Exists(const std::string& path) { return _access(path.c_str(), 0) == 0; }

// Notes whether the settings file is there, as every list operation does first.
bool PrefsPresent() {
  const bool present = Exists(PrefsPath());
  Diagnostic("%s\n", present ? ConsoleText::kVmwarePrefsPresent : ConsoleText::kVmwarePrefsMissing);
  return present;
}

bool BootListPresent(const std::string& path) {
  const bool present = Exists(path);
  Diagnostic("%s\n", present ? ConsoleText::kBootListPresent : ConsoleText::kBootListMissing);
  return present;
}

// The clone entries of a list document; nullptr when it has none.
Json::Document* CloneEntries(Json::Document& list) {
  if (!list.is_object()) return nullptr;
  const auto found = list.find("data");
  return found != list.end() && found->is_array() ? &*found : nullptr;
}

Json::Document NewCloneList(const VmwarePrefs& prefs, const std::vector<std::string>& folderNames) {
  Json::Document list = Json::Document::object();
  Json::SetNumber(list, "code", 200);
  for (const std::string& folderName : folderNames) {
    const std::optional<int> id = CloneIdOfFolder(folderName);
    if (!id) continue;  // the user's own folder: not a clone
    Json::Document clone = Json::Document::object();
    Json::SetNumber(clone, "id", *id);
    Json::SetString(clone, "name", AnsiToUtf8(prefs.NamePrefix + std::to_string(*id)));
    Json::SetString(clone, "path", AnsiToUtf8(CloneMachinePath(prefs.StoragePath, *id)));
    Json::SetString(clone, "state", kUnknown);
    list["data"].push_back(std::move(clone));
  }
  return list;
}

// vmrun's answer, one path per line, in the ANSI code page; line ends dropped.
std::vector<std::string> OutputLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    while (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

void MarkRunning(Json::Document& list, const std::string& runningOutput) {
  Json::Document* clones = CloneEntries(list);
  if (!clones) return;
  const std::vector<std::string> lines = OutputLines(runningOutput);
  for (Json::Document& clone : *clones) {
    const std::string path = Utf8ToAnsi(Json::GetString(clone, "path"));
    for (const std::string& line : lines) {
      if (!path.empty() && line == path) Json::SetString(clone, "state", kRunning);
    }
  }
}

// Text mode, as the other scratch files: each line feed goes out as CR LF.
void WriteScratchText(const char* fileName, const std::string& text) {
  const std::unique_ptr<FILE, FileCloser> file(_fsopen(fileName, "w", _SH_DENYNO));
  if (file) fwrite(text.data(), 1, text.size(), file.get());
}

}  // namespace

std::string CloneMachinePath(const std::string& storagePath, int id) {
  const std::string number = std::to_string(id);
  return storagePath + number + "\\" + number + VmrunWords::kMachineExtension;
}

std::optional<int> CloneIdOfFolder(const std::string& folderName) {
  int id = 0;
  const char* first = folderName.data();
  const char* last = first + folderName.size();
  if (folderName.empty() || folderName[0] < '0' || folderName[0] > '9') return std::nullopt;  // no sign, no blank
  const auto [end, error] = std::from_chars(first, last, id);
  if (error != std::errc() || end != last || std::to_string(id) != folderName) return std::nullopt;
  return id;
}

std::string BootListPath() { return ProgramDirectory() + "bootlist.json"; }

int CountCloneFolders() {
  if (!PrefsPresent()) return -1;
  const std::optional<std::vector<std::string>> folders = ListSubfolders(LoadPrefs().StoragePath, kCountedFolders);
  return folders ? static_cast<int>(folders->size()) : 0;
}

bool RefreshList() {
  CountCloneFolders();
  if (!PrefsPresent()) return false;
  const VmwarePrefs prefs = LoadPrefs();
  if (prefs.StoragePath.empty() || !Exists(prefs.StoragePath)) {
    Diagnostic("access(): path not exist.\n");
    return false;
  }
  Diagnostic("access(): path exist.\n");
  const std::optional<std::vector<std::string>> folders = ListSubfolders(prefs.StoragePath, kListedFolders);
  if (!folders) {
    Diagnostic("%s\n", ConsoleText::kReadingFileFailed);
    return false;
  }

  // Every clone starts from "unknown": nothing is kept from the last refresh.
  Json::Document list = NewCloneList(prefs, *folders);
  const std::string listPath = BootListPath();
  if (!JsonFile::Write(list, listPath)) {
    Diagnostic("%s\n", ConsoleText::kBootListMissing);
    return false;
  }
  DispatchWaitingMessages();

  const std::optional<CapturedOutput> running =
      CaptureWholeOutput(prefs.InstallationPath + " " + VmrunWords::kListRunning);
  if (!running) return false;
  WriteScratchText(kRunningList, running->text + "\n");
  Diagnostic("%s\n", running->text.c_str());
  MarkRunning(list, running->text);

  DispatchWaitingMessages();
  JsonFile::Write(list, listPath);
  MarkPausedFromInventory();  // an inventory that cannot be read leaves the states as they are
  return true;
}

bool MarkPausedFromInventory() {
  const std::string listPath = BootListPath();
  if (!BootListPresent(listPath)) return false;
  std::optional<Json::Document> list = JsonFile::Read(listPath);
  if (!list) return false;
  Json::Document* clones = CloneEntries(*list);
  if (clones && !clones->empty()) {
    const std::optional<Inventory> inventory = ReadInventory(InventoryPath());
    if (!inventory) {
      Diagnostic("%s\n", ConsoleText::kReadingFileFailed);
      return false;
    }
    for (Json::Document& clone : *clones) {
      const std::string path = Json::GetString(clone, "path");
      if (path.empty()) continue;
      const std::string state = MachineStateToken(*inventory, path);
      if (state == VmrunWords::kInventoryPaused) {
        Diagnostic("%s\n", ConsoleText::kClonePaused);
        Json::SetString(clone, "state", kPaused);
      } else if (state == VmrunWords::kInventoryNormal) {
        Diagnostic("%s\n", ConsoleText::kStateFromRunningList);
      }
    }
  }
  JsonFile::Write(*list, listPath);
  return true;
}

std::string LoadBootListText() {
  const std::string listPath = BootListPath();
  if (!BootListPresent(listPath)) return "-1";
  return JsonFile::ReadCompact(listPath).value_or("-1");
}

void MarkClonePaused(int id) {
  const std::string listPath = BootListPath();
  std::optional<Json::Document> list = JsonFile::Read(listPath);
  if (!list) return;
  Json::Document* clones = CloneEntries(*list);
  if (!clones) return;
  // By the clone's number, not its place: with ten clones or more the list
  // runs 0, 1, 10, 11, ..., 2, and place and number part.
  for (Json::Document& clone : *clones) {
    if (clone.is_object() && Json::GetNumber(clone, "id") == id) {
      Json::SetString(clone, "state", kPaused);
      JsonFile::Write(*list, listPath);
      return;
    }
  }
}

}  // namespace VmwareBackend
