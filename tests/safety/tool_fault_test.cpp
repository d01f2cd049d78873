// Hypervisor tools that fail, print junk or print nothing (the stand-ins'
// STANDIN_FAULT): every command that runs a tool still answers as promised.
// The tools' exit codes and the output of the state-changing commands are
// never looked at, so those commands answer exactly as with a working tool;
// the list and status commands answer from what can be read, which here is
// nothing. In any case the reply is well-formed, nothing crashes or hangs,
// and no file is lost or changed beyond what the command itself writes.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <ostream>
#include <set>

#include "support/json_document.h"
#include "support/json_file.h"
#include "support/json_text.h"
#include "tests/safety/cli_sandbox.h"
#include "tests/safety/settings_files.h"
#include "tests/safety/tree_snapshot.h"

namespace safety {

namespace {

using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

const char* const kFaults[] = {"fail", "garbage", "silent"};

// Runs one command after another in a sandbox with the tools faulted, and
// checks after each which files changed.
class ToolFaultTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    ForgetInstalledHypervisors();
    before_ = Snapshot();
  }

  TreeSnapshot Snapshot() const {
    const std::string standins = sandbox_.StandinFolder();
    return TakeSnapshot(sandbox_.Root(), [&](const std::string& path) { return IsAtOrBelow(path, standins); });
  }

  // Sends the command with the fault; the reply must be well-formed and is
  // returned parsed. The command must have run the tool `toolRuns` times
  // (so the fault was met), and files other than `mayChange` (names, or full
  // paths) must be as they were.
  nlohmann::ordered_json Faulted(const std::string& func, const nlohmann::ordered_json& data, size_t toolRuns,
                                 const std::set<std::string>& mayChange) {
    SCOPED_TRACE(func);
    const size_t runsBefore = ToolRuns();
    const CliReply reply = sandbox_.Send(func, data, {std::string("STANDIN_FAULT=") + GetParam()});
    EXPECT_EQ(RunProblem(reply), "");
    EXPECT_EQ(ToolRuns() - runsBefore, toolRuns) << func << " ran the tool otherwise than expected:\n"
                                                 << ReadFileBytes(sandbox_.StandinLog());
    const TreeSnapshot now = Snapshot();
    for (const std::string& entry : LostOrChanged(before_, now)) {
      const std::string path = entry.substr(0, entry.rfind(" ("));
      const std::string name = path.substr(path.rfind('\\') + 1);
      EXPECT_TRUE(mayChange.count(name) || mayChange.count(path)) << func << " lost or changed " << entry;
    }
    before_ = now;
    return reply.parsed;
  }

  size_t ToolRuns() const {
    const std::string log = ReadFileBytes(sandbox_.StandinLog());
    return static_cast<size_t>(std::count(log.begin(), log.end(), '\n'));
  }

  // The file as the product reads it, compact; "" when it reads as nothing.
  std::string FileText(const std::string& name) const {
    const std::optional<std::string> text = JsonFile::ReadCompact(sandbox_.ProgramFile(name));
    return text.value_or("");
  }

  CliSandbox sandbox_;
  TreeSnapshot before_;
};

class VmwareToolFaultTest : public ToolFaultTest {};
class VboxToolFaultTest : public ToolFaultTest {};

// Two clones on disk (as vmrun makes them) beside a folder of the user's.
TEST_P(VmwareToolFaultTest, EveryCommandAnswersAsPromised) {
  const std::string storage = sandbox_.RootFile("store\\");
  const std::string master = sandbox_.RootFile("master\\master.vmx");
  for (const std::string& folder :
       {storage, storage + "0", storage + "1", storage + "iso", sandbox_.RootFile("master")})
    CreateDirectoryA(folder.c_str(), nullptr);
  WriteFileBytes(master, "config.version = \"8\"\n");
  WriteFileBytes(storage + "0\\0.vmx", "config.version = \"8\"\n");
  WriteFileBytes(storage + "1\\1.vmx", "config.version = \"8\"\n");
  WriteFileBytes(storage + "iso\\keep.txt", "the user's");
  WriteVmwareSettings(sandbox_.ProgramFolder(), {StandinTool("vmrun.exe"), master, storage, 2});
  before_ = Snapshot();

  // The list comes from the folders; vmrun's answer marks no clone as running.
  Json::Document list = Json::Document::object();
  Json::SetNumber(list, "code", 200);
  for (int id : {0, 1}) {
    const std::string n = std::to_string(id);
    list["data"].push_back(Json::Document{
        {"id", id}, {"name", "web" + n}, {"path", storage + n + "\\" + n + ".vmx"}, {"state", "unknown"}});
  }
  EXPECT_EQ(Faulted("getlists", {}, 1, {"bootlist.json", "1.vdat", "dir.vlist", "list.dat"}),
            ExpectedReply(200, {{"reslist", Json::SerializeCompact(list)}}, "getlists", kSuccessText));
  EXPECT_EQ(FileText("bootlist.json"), Json::SerializeCompact(list));

  // The clone command runs its five lines and answers true, whatever vmrun did.
  EXPECT_EQ(Faulted("Vm_Start_Cloning", {{"number", 2}}, 5, {}),
            ExpectedReply(200, {{"state", true}}, "Vm_Start_Cloning", kCloneOkText));

  EXPECT_EQ(Faulted("Vm_PowerON", {{"type", 0}, {"VmxId", 0}}, 4, {}),
            ExpectedReply(200, {{"state", true}}, "Vm_PowerON", kSuccessText));

  // Suspending one clone records it as paused in the list, as promised, even
  // though vmrun did not do it; the next refresh corrects it.
  EXPECT_EQ(Faulted("Vm_Pause", {{"type", 1}, {"VmxId", 1}}, 1, {"bootlist.json"}),
            ExpectedReply(200, {{"state", true}}, "Vm_Pause", kSuccessText));
  list["data"][1]["state"] = "paused";
  EXPECT_EQ(FileText("bootlist.json"), Json::SerializeCompact(list));

  // Deleting all: the clone folders and the list go; vmrun's stop lines and
  // the Workstation restart (through the real command interpreter) fail.
  EXPECT_EQ(Faulted("Vm_Delete", {{"type", 0}}, 2,
                    {"bootlist.json", storage + "0", storage + "0\\0.vmx", storage + "1", storage + "1\\1.vmx"}),
            ExpectedReply(200, {{"state", true}}, "Vm_Delete", kSuccessText));
  EXPECT_EQ(ReadFileBytes(storage + "iso\\keep.txt"), "the user's");
}

// Two clones in the list with what an earlier status refresh read.
TEST_P(VboxToolFaultTest, EveryCommandAnswersAsPromised) {
  Json::Document list = Json::Document::object();
  Json::SetNumber(list, "code", 200);
  for (int id : {0, 1}) {
    const std::string n = std::to_string(id);
    const std::string machine = sandbox_.RootFile("vms" + n + "\\vm" + n + "\\vm" + n + ".vbox");
    CreateDirectoryA(sandbox_.RootFile("vms" + n).c_str(), nullptr);
    CreateDirectoryA(sandbox_.RootFile("vms" + n + "\\vm" + n).c_str(), nullptr);
    WriteFileBytes(machine, "<VirtualBox/>\r\n");
    list["data"].push_back(Json::Document{{"id", id},
                                          {"snapshot", id},
                                          {"name", "vm" + n},
                                          {"uuid", "6f1c3a52-0d4e-4b8e-9c55-2a7e1b0c9d1" + n},
                                          {"path", machine},
                                          {"state", "running (since 2026-12-11T09:30:00.000000000)"},
                                          {"belongTo", "master"}});
  }
  JsonFile::Write(list, sandbox_.ProgramFile("vboxBootlist.json"));
  WriteVboxSettings(sandbox_.ProgramFolder(), {StandinTool("VBoxManage.exe"), "master", sandbox_.RootFile("vms"), 2});
  before_ = Snapshot();

  // The selection list: an error text or nothing names no machine. Junk shaped
  // like a list line is taken for a machine (nothing can tell it from one);
  // the list then holds that name, and the reply stays well-formed.
  const auto selection = Faulted("resultseLectlist", {}, 1, {"selectList.List", "vboxSelectList.json"});
  ASSERT_TRUE(selection.is_object());
  if (std::string(GetParam()) == "garbage") {
    EXPECT_EQ(selection["code"], 200);
    const auto selectable =
        nlohmann::ordered_json::parse(selection["data"].value("RsultseLectlist", ""), nullptr, false);
    ASSERT_TRUE(selectable.is_object()) << selection;
    EXPECT_EQ(selectable["code"], 200);
    ASSERT_EQ(selectable["data"].size(), 1u) << selectable;
    EXPECT_TRUE(selectable["data"][0]["boot"].is_string()) << selectable;
    EXPECT_NE(FileText("vboxSelectList.json"), "");
  } else {
    EXPECT_EQ(selection, ExpectedReply(-1, {{"RsultseLectlist", "-1"}}, "resultseLectlist", kCloneFailedText));
    EXPECT_FALSE(testing_support::FileExists(sandbox_.ProgramFile("vboxSelectList.json")));
  }

  // The status list reads the three values from the tool's answer: with no
  // answer to read, the state is empty (unknown) and the machine's uuid and
  // path stay, so it can still be powered off and deleted.
  for (auto& record : list["data"]) record["state"] = "";
  EXPECT_EQ(Faulted("getStatusVBoxlist", {}, 6, {"vboxBootlist.json", "consoletemp.ctemp"}),
            ExpectedReply(200, {{"Rsultvboxlist", Json::SerializeCompact(list)}}, "getStatusVBoxlist", kSuccessText));
  EXPECT_EQ(FileText("vboxBootlist.json"), Json::SerializeCompact(list));

  EXPECT_EQ(Faulted("startVBox", {{"type", 0}, {"id", 0}}, 2, {}),
            ExpectedReply(200, {{"startVBox", 0}}, "startVBox", kSuccessText));

  // A new batch replaces the list with the requested clones, as promised.
  EXPECT_EQ(Faulted("cloneVBox", {{"number", 2}}, 4, {"vboxBootlist.json"}),
            ExpectedReply(200, {{"RsultseLectlist", 0}}, "cloneVBox", kCloneOkText));
  for (auto& record : list["data"]) record["uuid"] = record["path"] = record["state"] = "dbug";
  EXPECT_EQ(FileText("vboxBootlist.json"), Json::SerializeCompact(list));

  // Deleting all: the list goes; the machines' folders, which the tool did
  // not empty, stay with everything in them.
  EXPECT_EQ(Faulted("delVBox", {{"type", 0}, {"id", 0}}, 6, {"vboxBootlist.json"}),
            ExpectedReply(200, {{"delVBox", 0}}, "delVBox", kSuccessText));
}

std::string FaultName(const ::testing::TestParamInfo<const char*>& info) {
  std::string name = info.param;
  name[0] = static_cast<char>(toupper(name[0]));
  return name;
}

INSTANTIATE_TEST_SUITE_P(Faults, VmwareToolFaultTest, ::testing::ValuesIn(kFaults), FaultName);
INSTANTIATE_TEST_SUITE_P(Faults, VboxToolFaultTest, ::testing::ValuesIn(kFaults), FaultName);

}  // namespace

}  // namespace safety
