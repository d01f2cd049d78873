// "resultseLectlist": the registered machines that can be the master.

#include <windows.h>

#include "support/text_encoding.h"
#include "tests/cli/vbox_fixture.h"

namespace {

using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

class VboxSelectionTest : public VboxCliTest {
 protected:
  // The names of the answered list, or "-1".
  std::string Selectable() const {
    const auto reply = Request("resultseLectlist");
    const std::string text = reply["data"]["RsultseLectlist"];
    if (text == "-1") return text;
    std::string names;
    const auto list = nlohmann::ordered_json::parse(text);
    for (const auto& entry : list.value("data", nlohmann::ordered_json::array()))
      names += entry["boot"].get<std::string>() + ";";
    return names;
  }
};

TEST_F(VboxSelectionTest, ClonesAreLeftOutAndTheRestListedInNameOrder) {
  for (const char* machine : {"win10", "vm0", "vm1", "master"}) Register(machine);
  SaveSettings("vm");
  const auto reply = Request("resultseLectlist");
  EXPECT_EQ(reply["code"], 200);
  EXPECT_EQ(reply["msg"], "success");
  EXPECT_EQ(reply["data"]["RsultseLectlist"], R"({"code":200,"data":[{"boot":"master"},{"boot":"win10"}]})");
  EXPECT_EQ(ReadFileBytes(ProgramFile("vboxSelectList.json")),
            "{\r\n    \"code\": 200,\r\n    \"data\": [\r\n        {\r\n            \"boot\": \"master\"\r\n"
            "        },\r\n        {\r\n            \"boot\": \"win10\"\r\n        }\r\n    ]\r\n}");
  EXPECT_EQ(StandinLog(), tool_ + " list vms\n");
  EXPECT_TRUE(FileExists(ProgramFile("selectList.List")));
}

// The selection list has a file of its own, so the VMware clone list (which a
// name differing from it only in letter case would replace) stays as it was.
TEST_F(VboxSelectionTest, TheVmwareCloneListIsLeftAlone) {
  Register("master");
  SaveSettings("vm");
  WriteFileBytes(ProgramFile("bootlist.json"), "vmware list");
  ASSERT_EQ(Request("resultseLectlist")["code"], 200);
  EXPECT_EQ(ReadFileBytes(ProgramFile("bootlist.json")), "vmware list");
}

struct PrefixCase {
  const char* prefix;
  const char* listed;
};

const PrefixCase kPrefixCases[] = {
    {"vm", "master;vbox master;web-master;win10;"},
    // one letter drops every name starting with it
    {"v", "master;web-master;win10;"},
    // an empty prefix keeps every machine
    {"", "master;vbox master;vm0;vm1;web-master;win10;"},
    // the whole prefix counts: its first letters alone do not make a clone
    {"wi-clone", "master;vbox master;vm0;vm1;web-master;win10;"},
};

TEST_F(VboxSelectionTest, ThePrefixDecidesWhatIsAClone) {
  for (const char* machine : {"win10", "vm0", "vbox master", "vm1", "master", "web-master"}) Register(machine);
  for (const PrefixCase& c : kPrefixCases) {
    SaveSettings(c.prefix);
    EXPECT_EQ(Selectable(), c.listed) << c.prefix;
  }
}

TEST_F(VboxSelectionTest, OnlyClonesGiveAListWithoutData) {
  Register("vm0");
  SaveSettings("vm");
  const auto reply = Request("resultseLectlist");
  EXPECT_EQ(reply["code"], 200);
  EXPECT_EQ(reply["data"]["RsultseLectlist"], R"({"code":200})");
}

TEST_F(VboxSelectionTest, NoMachineAnswersMinusOneAndKeepsTheOldList) {
  SaveSettings("vm");
  WriteFileBytes(ProgramFile("vboxSelectList.json"), "old");
  const auto reply = Request("resultseLectlist");
  EXPECT_EQ(reply["code"], -1);
  EXPECT_EQ(reply["msg"], "No VBox virtual machine registered!");
  EXPECT_EQ(reply["data"]["RsultseLectlist"], "-1");
  EXPECT_EQ(StandinLog(), tool_ + " list vms\n");
  EXPECT_EQ(ReadFileBytes(ProgramFile("vboxSelectList.json")), "old");
}

// The tool's error text (here for a tool path with a stray word) lists no machine.
TEST_F(VboxSelectionTest, AnErrorTextIsNoListOfMachines) {
  Register("master");
  SaveSettingsWithTool(tool_ + " showvminfo", "vm", "master");
  WriteFileBytes(ProgramFile("vboxSelectList.json"), "old");
  EXPECT_EQ(Selectable(), "-1");
  EXPECT_NE(ReadFileBytes(ProgramFile("selectList.List")).find("error"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(ProgramFile("vboxSelectList.json")), "old");
}

TEST_F(VboxSelectionTest, WithoutSettingsNothingRuns) {
  Register("master");
  EXPECT_EQ(Selectable(), "-1");
  EXPECT_EQ(StandinLog(), "");
}

// Names in the ANSI code page, a prefix written in it included, reach the page as UTF-8.
TEST_F(VboxSelectionTest, NamesOutsideAsciiAreConverted) {
  const std::string local = GetACP() == 936 ? "\xE5\x85\x8B\xE9\x9A\x86" : "Zo\xC3\xAB";  // 克隆 or Zoë
  Register(Utf8ToAnsi("master " + local));
  Register(Utf8ToAnsi(local + "0"));
  SaveSettings(local);
  EXPECT_EQ(Selectable(), "master " + local + ";");
}

}  // namespace
