// "getStatusVBoxlist": the clone list refreshed from showvminfo.

#include <regex>

#include "support/text_encoding.h"
#include "tests/cli/vbox_fixture.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::WriteFileBytes;

class VboxStatusTest : public VboxCliTest {
 protected:
  void SetUp() override {
    VboxCliTest::SetUp();
    Register("master");
    SaveSettings("vm");
  }

  std::string QueryLine(const std::string& name) const { return tool_ + "  showvminfo " + name + "\n"; }

  nlohmann::ordered_json Refresh(nlohmann::ordered_json* reply = nullptr) const {
    const auto answer = Request("getStatusVBoxlist");
    if (reply) *reply = answer;
    return nlohmann::ordered_json::parse(answer["data"]["Rsultvboxlist"].get<std::string>(), nullptr, false);
  }

  // The UUID the stand-in gave the machine, from its showvminfo line.
  std::string UuidOf(const std::string& name) const {
    const std::string out = VBox("showvminfo " + name).out;
    std::smatch match;
    std::regex_search(out, match, std::regex("\r\nUUID: +([^\r]+)\r\n"));
    return match.size() == 2 ? match[1].str() : "";
  }
};

TEST_F(VboxStatusTest, ThreeQueriesPerCloneFillUuidPathAndState) {
  ASSERT_EQ(Clone(2)["code"], 200);
  ASSERT_EQ(VBox("startvm vm1 --type headless").exitCode, 0u);
  ForgetLog();

  nlohmann::ordered_json reply;
  const auto list = Refresh(&reply);
  EXPECT_EQ(reply["code"], 200);
  EXPECT_EQ(reply["msg"], "success");
  EXPECT_EQ(StandinLog(), QueryLine("vm0") + QueryLine("vm0") + QueryLine("vm0") + QueryLine("vm1") +
                              QueryLine("vm1") + QueryLine("vm1"));
  ASSERT_EQ(list["data"].size(), 2u);
  const std::regex stateWithTime("(powered off|running) \\(since \\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d+\\)");
  for (int i = 0; i < 2; ++i) {
    const std::string name = "vm" + std::to_string(i);
    const auto& record = list["data"][i];
    EXPECT_EQ(record["id"], i);
    EXPECT_EQ(record["name"], name);
    EXPECT_EQ(record["uuid"], UuidOf(name));
    EXPECT_EQ(record["path"], AnsiToUtf8(storage_ + std::to_string(i) + "\\" + name + "\\" + name + ".vbox"));
    EXPECT_TRUE(std::regex_match(record["state"].get<std::string>(), stateWithTime)) << record["state"];
    EXPECT_EQ(record["belongTo"], "master");
  }
  EXPECT_EQ(list["data"][1]["state"].get<std::string>().rfind("running", 0), 0u);
  // The file holds what was answered; the copy file the last query's output.
  EXPECT_EQ(CloneList().dump(), list.dump());
  std::string copy;
  for (const char c : VBox("showvminfo vm1").out + "\n") copy += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(ReadFileBytes(ProgramFile("consoletemp.ctemp")), copy);
}

// A machine the tool cannot answer for (deleted behind Tarnwick's back, or the
// tool failing for a moment) keeps the uuid and path it had, which power and
// delete find it by; only its state becomes unknown.
TEST_F(VboxStatusTest, AMachineTheToolCannotAnswerForKeepsItsIdentity) {
  ASSERT_EQ(Clone(2)["code"], 200);
  const auto before = Refresh();
  ASSERT_EQ(VBox("unregistervm vm0 --delete").exitCode, 0u);
  const auto list = Refresh();
  ASSERT_EQ(list["data"].size(), 2u);
  const auto& gone = list["data"][0];
  EXPECT_EQ(gone["name"], "vm0");
  EXPECT_EQ(gone["uuid"], before["data"][0]["uuid"]);
  EXPECT_EQ(gone["path"], before["data"][0]["path"]);
  EXPECT_EQ(gone["state"], "");
  EXPECT_EQ(list["data"][1]["uuid"], UuidOf("vm1"));
}

// The master a clone was made from stays recorded when the settings later name
// another master: deleting the clone removes the snapshot of its own master.
TEST_F(VboxStatusTest, TheRecordedMasterOutlivesAChangeOfSettings) {
  ASSERT_EQ(Clone(1)["code"], 200);
  SaveSettings("vm", "other master");
  EXPECT_EQ(Refresh()["data"][0]["belongTo"], "master");
}

TEST_F(VboxStatusTest, WithoutAReadableListNothingRunsAndTheFileStays) {
  for (const char* content : {"", "{\"code\":200,"}) {
    if (*content) WriteFileBytes(ProgramFile("vboxBootlist.json"), content);
    nlohmann::ordered_json reply;
    Refresh(&reply);
    EXPECT_EQ(reply["code"], -1);
    EXPECT_EQ(reply["msg"], "no file with vboxBootlist.json!");
    EXPECT_EQ(reply["data"]["Rsultvboxlist"], "-1");
    EXPECT_EQ(StandinLog(), "");
    EXPECT_EQ(ReadFileBytes(ProgramFile("vboxBootlist.json")), content);
  }
}

TEST_F(VboxStatusTest, AnEmptyListIsWrittenBackAndAnswered) {
  ASSERT_EQ(Clone(0)["code"], 200);
  nlohmann::ordered_json reply;
  EXPECT_EQ(Refresh(&reply).dump(), R"({"code":200})");
  EXPECT_EQ(reply["data"]["Rsultvboxlist"], R"({"code":200})");
  EXPECT_EQ(StandinLog(), "");
}

}  // namespace
