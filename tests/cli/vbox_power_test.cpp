// "startVBox", "offVBox", "unpauseVBox", "repauseVBox", "restVBox" on the clones
// of the list, and the answers every power and delete command gives.

#include "tests/cli/vbox_fixture.h"

namespace {

using testing_support::ReadFileBytes;

class VboxPowerTest : public VboxCliTest {
 protected:
  void SetUp() override {
    VboxCliTest::SetUp();
    Register("master");
  }
};

// One step of a power sequence: the command, the words around the UUID on its
// line, and the state the machines are in afterwards.
struct PowerStep {
  const char* func;
  const char* beforeUuid;
  const char* afterUuid;
  const char* state;
};

// Every clone: the lines keep their double spaces.
const PowerStep kEveryCloneSteps[] = {
    {"startVBox", "  startvm  ", "  --type headless", "running"},
    {"unpauseVBox", " controlvm  ", "  pause", "paused"},  // this command pauses
    {"repauseVBox", " controlvm  ", "  resume", "running"},  // and this one resumes
    {"restVBox", " controlvm  ", "  reset", "running"},
    {"offVBox", " controlvm  ", " poweroff", "powered off"},
};

TEST_F(VboxPowerTest, EveryCloneRunsOneLinePerCloneInListOrder) {
  CloneAndRefresh(3);
  for (const PowerStep& step : kEveryCloneSteps) {
    ForgetLog();
    const auto reply = Power(step.func, 0);
    EXPECT_EQ(reply["code"], 200) << step.func;
    EXPECT_EQ(reply["msg"], "success");
    EXPECT_EQ(reply["data"][step.func], 0);
    std::string lines;
    for (const std::string& uuid : uuids_) lines += tool_ + step.beforeUuid + uuid + step.afterUuid + "\n";
    EXPECT_EQ(StandinLog(), lines) << step.func;
    for (const char* machine : {"vm0", "vm1", "vm2"}) EXPECT_EQ(StateOf(machine), step.state) << step.func;
  }
}

// One clone: single spaces, and only that clone changes.
const PowerStep kOneCloneSteps[] = {
    {"startVBox", " startvm ", " --type headless", "running"},
    {"unpauseVBox", " controlvm ", " pause", "paused"},
    {"repauseVBox", " controlvm ", " resume", "running"},
    {"restVBox", " controlvm ", " reset", "running"},
    {"offVBox", " controlvm ", " poweroff", "powered off"},
};

TEST_F(VboxPowerTest, OneCloneRunsOneLineForTheCloneWithThatId) {
  CloneAndRefresh(3);
  for (const PowerStep& step : kOneCloneSteps) {
    ForgetLog();
    EXPECT_EQ(Power(step.func, 1, 1)["data"][step.func], 0) << step.func;
    EXPECT_EQ(StandinLog(), tool_ + step.beforeUuid + uuids_[1] + step.afterUuid + "\n") << step.func;
    EXPECT_EQ(StateOf("vm1"), step.state) << step.func;
    EXPECT_EQ(StateOf("vm0"), "powered off");
    EXPECT_EQ(StateOf("vm2"), "powered off");
  }
}

const char* const kAllCommands[] = {"startVBox", "offVBox", "restVBox", "delVBox", "unpauseVBox", "repauseVBox"};

TEST_F(VboxPowerTest, AnUnknownTypeAnswersMinusOneAndRunsNothing) {
  CloneAndRefresh(2);
  const std::string list = ReadFileBytes(ProgramFile("vboxBootlist.json"));
  for (const char* func : kAllCommands) {
    const auto reply = Power(func, 2, 0);
    EXPECT_EQ(reply["code"], -1) << func;
    EXPECT_EQ(reply["msg"], "no file with vboxBootlist.json!");
    EXPECT_EQ(reply["data"][func], -1);
  }
  EXPECT_EQ(StandinLog(), "");
  EXPECT_EQ(ReadFileBytes(ProgramFile("vboxBootlist.json")), list);
}

TEST_F(VboxPowerTest, AnIdNotInTheListRunsNothingAndAnswersZero) {
  CloneAndRefresh(2);
  const auto list = CloneList();
  for (const char* func : kAllCommands) EXPECT_EQ(Power(func, 1, 7)["data"][func], 0) << func;
  EXPECT_EQ(StandinLog(), "");
  EXPECT_EQ(CloneList(), list);
}

TEST_F(VboxPowerTest, WithoutAListOnlyStartAnswersAndNothingRuns) {
  SaveSettings("vm");
  for (const char* func : kAllCommands) {
    const auto reply = Power(func, 0);
    const int expected = std::string(func) == "startVBox" ? 0 : -1;
    EXPECT_EQ(reply["data"][func], expected) << func;
    EXPECT_EQ(reply["code"], expected == 0 ? 200 : -1) << func;
  }
  EXPECT_EQ(StandinLog(), "");
}

TEST_F(VboxPowerTest, StartWithoutSettingsAnswersMinusOne) {
  CloneAndRefresh(2);
  ASSERT_TRUE(DeleteFileA(ProgramFile("VBoxPrefs.json").c_str()));
  const auto reply = Power("startVBox", 0);
  EXPECT_EQ(reply["code"], -1);
  EXPECT_EQ(reply["msg"], "no file with vboxBootlist.json!");
  EXPECT_EQ(reply["data"]["startVBox"], -1);
  EXPECT_EQ(StandinLog(), "");
}

}  // namespace
