#include <gtest/gtest.h>
#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/standins/standin_fixture.h"

using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

namespace {

class VmrunTest : public StandinTest {
 protected:
  testing_support::ChildResult Vmrun(const std::string& arguments) const { return Run("vmrun.exe", arguments); }

  // A master machine: any .vmx file.
  std::string MakeMachine(const std::string& name) const {
    const std::string path = folder_ / (name + ".vmx");
    WriteFileBytes(path, "config.version = \"8\"\r\n");
    return path;
  }
};

// Where Workstation keeps its library, for the user running the test.
std::string InventoryFile() {
  char user[256] = {};
  DWORD length = sizeof(user);
  GetUserNameA(user, &length);
  return std::string("C:\\Users\\") + user + "\\AppData\\Roaming\\VMware\\inventory.vmls";
}

// The inventory's value for `key` in the block whose config is `vmx` (UTF-8).
std::string InventoryValue(const std::string& vmx, const std::string& key) {
  const std::string text = ReadFileBytes(InventoryFile());
  const std::string configLine = ".config = \"" + vmx + "\"";
  const size_t config = text.find(configLine);
  if (config == std::string::npos) return "<no block>";
  const size_t lineStart = text.rfind('\n', config) + 1;  // npos + 1 == 0 for the first line
  const std::string prefix = text.substr(lineStart, config - lineStart) + "." + key + " = \"";
  const size_t at = text.find(prefix, config);
  if (at == std::string::npos) return "<no " + key + ">";
  const size_t start = at + prefix.size();
  return text.substr(start, text.find('"', start) - start);
}

// Read as blank-separated words, the state word 24 words after the quoted path.
std::string StateTokenAfterPath(const std::string& vmx) {
  std::istringstream words(ReadFileBytes(InventoryFile()));
  std::vector<std::string> tokens;
  for (std::string word; words >> word;) tokens.push_back(word);
  for (size_t i = 0; i + 24 < tokens.size(); ++i) {
    if (tokens[i] == "\"" + vmx + "\"") return tokens[i + 24];
  }
  return "<no path>";
}

TEST_F(VmrunTest, SnapshotAndCloneMakeTheCloneAndItsInventoryBlock) {
  const std::string master = MakeMachine("master");
  const std::string clone = folder_ / "c\\2\\2.vmx";
  const std::string cloneName = Ansi(LocalNameUtf8() + " 2");

  EXPECT_NE(Vmrun("-T ws deleteSnapshot " + Quoted(master) + " 888").exitCode, 0u);  // none yet
  EXPECT_EQ(Vmrun("-T ws snapshot " + Quoted(master) + " 888").exitCode, 0u);
  const auto cloned = Vmrun("-T ws clone " + Quoted(master) + " " + Quoted(clone) +
                            " linked -snapshot=888 -cloneName=" + Quoted(cloneName));

  ASSERT_EQ(cloned.exitCode, 0u) << cloned.err;
  EXPECT_TRUE(FileExists(clone));
  EXPECT_EQ(InventoryValue(clone, "DisplayName"), LocalNameUtf8() + " 2");  // the file is UTF-8
  EXPECT_EQ(InventoryValue(clone, "IsClone"), "TRUE");
  EXPECT_EQ(InventoryValue(clone, "State"), "normal");
  EXPECT_EQ(InventoryValue(master, "IsClone"), "FALSE");
}

TEST_F(VmrunTest, ListShowsPoweredOnMachinesAsTheyWereStarted) {
  const std::string paused = MakeMachine("paused");
  const std::string stopped = MakeMachine("stopped");
  const std::string spelled = MakeMachine("spelled");
  const std::string spelledOtherwise = folder_ / "SPELLED.VMX";  // the same file

  for (const std::string& arguments : {
           "-T ws  start  " + paused + "  gui",  // extra blanks, as the real tool allows
           "-T ws pause " + paused,
           "-T ws start " + Quoted(stopped) + " nogui",
           "-T ws stop " + Quoted(stopped) + " hard",
           "-T ws snapshot " + spelled + " before",  // first met under its own spelling
           "-T ws start " + spelledOtherwise,
       }) {
    const auto result = Vmrun(arguments);
    EXPECT_EQ(result.exitCode, 0u) << arguments << "\n" << result.err;
  }

  const auto listed = Vmrun("list");
  EXPECT_EQ(listed.exitCode, 0u);
  EXPECT_EQ(listed.out, "Total running VMs: 2\r\n" + paused + "\r\n" + spelledOtherwise + "\r\n");
}

TEST_F(VmrunTest, InventoryStateFollowsSuspendAndPause) {
  const std::string vmx = MakeMachine("web");
  struct Step {
    std::string command;
    const char* state;  // the word 24 words after the quoted path
  };
  const Step steps[] = {
      {"start", "\"normal\""},    // running
      {"suspend", "\"paused\""},  // suspended reads as paused
      {"start", "\"normal\""},    // resumed from suspension
      {"pause", "\"paused\""},   {"unpause", "\"normal\""}, {"stop", "\"normal\""},
  };
  for (const Step& step : steps) {
    const auto result = Vmrun("-T ws " + step.command + " " + Quoted(vmx));
    ASSERT_EQ(result.exitCode, 0u) << step.command << "\n" << result.err;
    EXPECT_EQ(StateTokenAfterPath(vmx), step.state) << "after " << step.command;
  }
}

TEST_F(VmrunTest, CloneIsRefusedWithoutItsInputsOrOntoAnExistingMachine) {
  const std::string master = MakeMachine("master");
  ASSERT_EQ(Vmrun("-T ws snapshot " + Quoted(master) + " 888").exitCode, 0u);
  const std::string existing = MakeMachine("existing");
  struct Case {
    std::string source;
    std::string destination;
    std::string snapshot;
  };
  const Case cases[] = {
      {master, existing, "888"},                               // destination already there
      {folder_ / "missing.vmx", folder_ / "a\\a.vmx", "888"},  // no such master
      {master, folder_ / "b\\b.vmx", "999"},                   // no such snapshot
  };
  for (const Case& c : cases) {
    const auto result = Vmrun("-T ws clone " + Quoted(c.source) + " " + Quoted(c.destination) +
                              " linked -snapshot=" + c.snapshot + " -cloneName=x");
    EXPECT_NE(result.exitCode, 0u) << c.destination;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.rfind("Error: ", 0), 0u) << result.err;
  }
  EXPECT_EQ(ReadFileBytes(existing), "config.version = \"8\"\r\n");
  EXPECT_FALSE(testing_support::FolderExists(folder_ / "a"));
  EXPECT_FALSE(testing_support::FolderExists(folder_ / "b"));
}

TEST_F(VmrunTest, LogHoldsEachCommandLineByteForByte) {
  const std::string vmx = MakeMachine(Ansi(LocalNameUtf8()));
  const std::string first = "-T ws   start  " + Quoted(vmx) + "   nogui";
  const std::string second = "list";

  Vmrun(first);
  Vmrun(second);

  EXPECT_EQ(LogBytes(), CommandLine("vmrun.exe", first) + "\n" + CommandLine("vmrun.exe", second) + "\n");
}

}  // namespace
