#include "tests/fuzz/sample_folder.h"

#include <windows.h>

#include "support/json_file.h"
#include "support/json_text.h"
#include "tests/common/test_support.h"
#include "tests/fuzz/sandbox_mark.h"
#include "vmware/vmware_inventory.h"

namespace {

constexpr char kVmwareSettings[] = "VMwarePrefs.json";
constexpr char kVboxSettings[] = "VBoxPrefs.json";

bool SameName(const std::string& a, const char* b) { return b && _stricmp(a.c_str(), b) == 0; }

std::pair<uint64_t, uint64_t> Stamp(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes)) return {0, 0};
  const uint64_t size = (static_cast<uint64_t>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
  const FILETIME& time = attributes.ftLastWriteTime;
  return {size + 1, (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime};
}

void CreateFoldersAbove(const std::string& filePath) {
  const std::string folder = filePath.substr(0, filePath.find_last_of('\\'));
  if (testing_support::FolderExists(folder)) return;
  for (size_t at = filePath.find('\\', 3); at != std::string::npos; at = filePath.find('\\', at + 1)) {
    CreateDirectoryA(filePath.substr(0, at).c_str(), nullptr);
  }
}

std::string ReplacedOnce(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

}  // namespace

SampleFolder::SampleFolder(const DamagedFileCase& fileCase, const SandboxFolder& folder)
    : case_(fileCase), folder_(folder) {}

std::string SampleFolder::SubjectPath() const {
  return case_.fileName ? folder_.ansi + case_.fileName : VmwareBackend::InventoryPath();
}

std::string SampleFolder::SampleText(const std::string& fileName, bool toolsPresent) const {
  for (const SampleFile& sample : SampleFiles()) {
    if (fileName != sample.fileName) continue;
    if (fileName == kInventorySample) return PutSandbox(sample.content, folder_.utf8);
    const std::string text = PutSandboxInJson(sample.content, folder_.utf8);
    const bool standIn = toolsPresent && !SameName(fileName, case_.fileName) &&
                         !(fileName == kVmwareSettings && case_.vmwareToolMissing);
    if (standIn) return text;
    return ReplacedOnce(ReplacedOnce(text, "standins\\\\vmrun.exe", "standins\\\\missing.exe"),
                        "standins\\\\VBoxManage.exe", "standins\\\\missing.exe");
  }
  return "";
}

// The document as JsonFile::Write puts it on disk (pretty, CR LF).
std::string SampleFolder::AsWritten(const std::string& json) const {
  const std::string scratch = folder_.ansi + "sample.json";
  JsonFile::Write(Json::Parse(json).value_or(Json::Document()), scratch);
  std::string bytes = testing_support::ReadFileBytes(scratch);
  DeleteFileA(scratch.c_str());
  return bytes;
}

std::string SampleFolder::ValidSubject() const {
  if (!case_.fileName) return SampleText(kInventorySample, false);
  return AsWritten(SampleText(case_.fileName, false));
}

void SampleFolder::MakeCopies() {
  for (const SampleFile& sample : SampleFiles()) {
    const std::string name = sample.fileName;
    // The selection list is the same file as the VMware clone list.
    if (name == kInventorySample || name == "bootList.json" || SameName(name, case_.fileName)) continue;
    copies_.push_back({folder_.ansi + name, AsWritten(SampleText(name, true)), AsWritten(SampleText(name, false))});
  }
  for (const char* clone : kCloneFolders) {
    const std::string folder = folder_.ansi + clone;
    const std::string machine = folder + folder.substr(folder.find_last_of('\\')) + ".vmx";
    const std::string text = "config.version = \"8\"\n";
    copies_.push_back({machine, text, text});
  }
}

void SampleFolder::Prepare(const std::string& subjectBytes, bool toolsPresent) {
  if (copies_.empty()) MakeCopies();
  // A file the last command did not touch still has the size and time it
  // got from here: only the others are written again.
  for (Copy& copy : copies_) {
    if (copy.writtenWithTools == static_cast<int>(toolsPresent) && Stamp(copy.path) == copy.stamp) continue;
    CreateFoldersAbove(copy.path);
    testing_support::WriteFileBytes(copy.path, toolsPresent ? copy.withTools : copy.withoutTools);
    copy.stamp = Stamp(copy.path);
    copy.writtenWithTools = toolsPresent;
  }
  if (case_.fileName) DeleteFileA(VmwareBackend::InventoryPath().c_str());
  CreateFoldersAbove(SubjectPath());
  testing_support::WriteFileBytes(SubjectPath(), subjectBytes);
  subjectBytes_ = subjectBytes;
  subjectStamp_ = Stamp(SubjectPath());
}

std::optional<std::string> SampleFolder::SubjectNow() const {
  const std::pair<uint64_t, uint64_t> stamp = Stamp(SubjectPath());
  if (stamp == subjectStamp_) return subjectBytes_;
  if (stamp.first == 0) return std::nullopt;
  return testing_support::ReadFileBytes(SubjectPath());
}
