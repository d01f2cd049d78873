#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "tests/standins/standin_fixture.h"

using testing_support::FileExists;
using testing_support::FolderExists;

namespace {

// "<name>" {<uuid>}
const std::regex kListLine("\"(.*)\" \\{([0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12})\\}");

class VBoxManageTest : public StandinTest {
 protected:
  testing_support::ChildResult VBox(const std::string& arguments) const { return Run("VBoxManage.exe", arguments); }

  // A registered master with snapshot 3, and its clone vm3 in <temp>\c\3 made
  // with the words and spacing Tarnwick sends.
  void SetUp() override {
    ASSERT_EQ(VBox("createvm --name " + Quoted(master_) + " --register").exitCode, 0u);
    ASSERT_EQ(VBox("snapshot " + Quoted(master_) + " take 3 --description= --live --uniquename Space,Force").exitCode,
              0u);
    const auto cloned = VBox("clonevm " + Quoted(master_) + " --basefolder=" + Quoted(baseFolder_) +
                             "  --name=\"vm3\"   --options=link --options=KeepHwUUIDs  --register --mode=machine "
                             "--snapshot=3");
    ASSERT_EQ(cloned.exitCode, 0u) << cloned.err;
  }

  // The machines of "list vms", name (ANSI) -> UUID.
  std::vector<std::pair<std::string, std::string>> ListedMachines() const {
    std::vector<std::pair<std::string, std::string>> machines;
    for (const std::string& line : OutputLines(VBox("list vms").out)) {
      std::smatch match;
      EXPECT_TRUE(std::regex_match(line, match, kListLine)) << line;
      if (match.size() == 3) machines.emplace_back(match[1], match[2]);
    }
    return machines;
  }

  // The showvminfo line that starts with `label`, or "".
  std::string InfoLine(const std::string& machine, const std::string& label) const {
    for (const std::string& line : OutputLines(VBox("showvminfo " + machine).out)) {
      if (line.rfind(label, 0) == 0) return line;
    }
    return "";
  }

  const std::string master_ = Ansi(LocalNameUtf8() + " master");
  const std::string baseFolder_ = folder_ / "c\\3";
  const std::string cloneFolder_ = folder_ / "c\\3\\vm3";
};

TEST_F(VBoxManageTest, CloneIsRegisteredWithItsSettingsFile) {
  const auto machines = ListedMachines();
  ASSERT_EQ(machines.size(), 2u);
  EXPECT_EQ(machines[0].first, master_);  // printed in the ANSI code page
  EXPECT_EQ(machines[1].first, "vm3");
  EXPECT_NE(machines[0].second, machines[1].second);
  EXPECT_TRUE(FileExists(cloneFolder_ + "\\vm3.vbox"));

  EXPECT_EQ(InfoLine("vm3", "Name:"), "Name:                        vm3");
  EXPECT_EQ(InfoLine("vm3", "UUID:"), "UUID:                        " + machines[1].second);
  EXPECT_EQ(InfoLine("vm3", "Config file:"), "Config file:                 " + cloneFolder_ + "\\vm3.vbox");
  EXPECT_EQ(InfoLine(Quoted(master_), "Name:"), "Name:                        " + master_);

  // The state file keeps names in UTF-8 whatever the code page.
  const std::string state = testing_support::ReadFileBytes(StateFolder() + "\\vboxmanage-state.json");
  EXPECT_NE(state.find(Quoted(LocalNameUtf8() + " master")), std::string::npos);
}

TEST_F(VBoxManageTest, PowerCommandsChangeTheShownState) {
  const std::string uuid = ListedMachines().at(1).second;
  struct Step {
    std::string command;
    const char* state;
  };
  const Step steps[] = {
      {" startvm  " + uuid + "  --type headless", "running"},
      {"controlvm  " + uuid + "  pause", "paused"},
      {"controlvm vm3 resume", "running"},
      {"controlvm  " + uuid + "  reset", "running"},
      {"controlvm vm3 savestate", "saved"},
      {"startvm vm3 --type headless", "running"},
      {"controlvm  " + uuid + " poweroff", "powered off"},
  };
  const std::regex since(" \\(since \\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{9}\\)");
  for (const Step& step : steps) {
    const auto result = VBox(step.command);
    ASSERT_EQ(result.exitCode, 0u) << step.command << "\n" << result.err;
    const std::string line = InfoLine("vm3", "State:");
    const std::string expected = std::string("State:                       ") + step.state;
    EXPECT_EQ(line.substr(0, expected.size()), expected) << step.command;
    EXPECT_TRUE(std::regex_match(line.substr(expected.size()), since)) << line;
  }
}

TEST_F(VBoxManageTest, UnregisterWithDeleteRemovesOnlyTheCloneFolder) {
  const std::string uuid = ListedMachines().at(1).second;
  testing_support::WriteFileBytes(baseFolder_ + "\\beside.txt", "not the machine's");

  const auto result = VBox("unregistervm  " + uuid + " --delete");

  ASSERT_EQ(result.exitCode, 0u) << result.err;
  EXPECT_FALSE(FolderExists(cloneFolder_));
  EXPECT_TRUE(FileExists(baseFolder_ + "\\beside.txt"));
  const auto machines = ListedMachines();
  ASSERT_EQ(machines.size(), 1u);
  EXPECT_EQ(machines[0].first, master_);
}

TEST_F(VBoxManageTest, UnknownMachineIsReportedOnStandardError) {
  for (const char* command : {
           "showvminfo nosuch",
           "startvm nosuch --type headless",
           "controlvm nosuch poweroff",
           "unregistervm nosuch --delete",
           "snapshot nosuch take 3 --description= --live --uniquename Space,Force",
           "clonevm nosuch --name=vm4 --register --snapshot=3",
       }) {
    const auto result = VBox(command);
    EXPECT_NE(result.exitCode, 0u) << command;
    EXPECT_EQ(result.out, "") << command;
    EXPECT_EQ(result.err, "VBoxManage.exe: error: Could not find a registered machine named 'nosuch'\r\n") << command;
  }
}

TEST_F(VBoxManageTest, CloneNeedsTheSnapshotAndAFreeDestination) {
  for (const char* options : {
           "--name=vm3 --register --snapshot=3",  // vm3's settings file is there already
           "--name=vm4 --register --snapshot=9",  // no snapshot 9
       }) {
    const auto result = VBox("clonevm " + Quoted(master_) + " --basefolder=" + Quoted(baseFolder_) + " " + options);
    EXPECT_NE(result.exitCode, 0u) << options;
    EXPECT_EQ(result.err.rfind("VBoxManage.exe: error: ", 0), 0u) << result.err;
  }
  EXPECT_FALSE(FolderExists(baseFolder_ + "\\vm4"));
  EXPECT_EQ(ListedMachines().size(), 2u);
}

}  // namespace
