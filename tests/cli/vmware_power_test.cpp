// "Vm_PowerON", "Vm_Pause", "Vm_UnPause", "Vm_Reboot", "Vm_Shutdown" against the stand-in vmrun.exe.

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <ostream>
#include <thread>

#include "commands/dispatcher.h"
#include "support/diagnostics.h"
#include "support/program_directory.h"
#include "tests/cli/vmware_clones_fixture.h"

namespace {

using nlohmann::ordered_json;
using testing_support::ReadFileBytes;

struct SingleCloneCase {
  const char* func;
  ordered_json data;
  const char* verb;       // the line expected for clone 2
  const char* lastWord;
};

void PrintTo(const SingleCloneCase& row, std::ostream* out) { *out << row.func << " " << row.data.dump(); }

const SingleCloneCase kSingleCloneCases[] = {
    // Started singly: once, no "gui".
    {"Vm_PowerON", {{"type", 1}, {"VmxId", 2}}, "start", ""},
    {"Vm_Pause", {{"type", 1}, {"VmxId", 2}}, "suspend", ""},
    {"Vm_UnPause", {{"type", 1}, {"VmxId", 2}}, "unpause", ""},
    {"Vm_Reboot", {{"type", 1}, {"VmxId", 2}, {"Restart_Type", 1}}, "reset", "hard"},
    {"Vm_Shutdown", {{"type", 1}, {"VmxId", 2}, {"off_Type", 0}}, "stop", "soft"},
};

class VmwareSingleClonePower : public VmwareClonesTest, public ::testing::WithParamInterface<SingleCloneCase> {};

TEST_P(VmwareSingleClonePower, RunsOneLineWithTheMachinePathQuoted) {
  SaveSettings(3, 5);  // the interval is for all clones only: none of these waits
  const auto reply = Send(GetParam().func, GetParam().data);
  EXPECT_EQ(reply["code"], 200);
  EXPECT_EQ(reply["msg"], kSuccessText);
  EXPECT_EQ(reply["data"]["state"], true);
  EXPECT_EQ(StandinLog(), PowerLine(GetParam().verb, 2, GetParam().lastWord));
}

INSTANTIATE_TEST_SUITE_P(Operations, VmwareSingleClonePower, ::testing::ValuesIn(kSingleCloneCases));

struct RefusedCase {
  const char* func;
  ordered_json data;
};

void PrintTo(const RefusedCase& row, std::ostream* out) { *out << row.func << " " << row.data.dump(); }

const RefusedCase kRefusedCases[] = {
    {"Vm_Reboot", {{"type", 0}, {"Restart_Type", 2}}},   // mode neither soft nor hard
    {"Vm_Shutdown", {{"type", 1}, {"off_Type", -1}}},    // the same for stop
    {"Vm_PowerON", {{"type", 2}}},                        // neither all clones nor one
    {"Vm_Pause", {{"type", -1}}},
};

class VmwareRefusedPower : public VmwareClonesTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(VmwareRefusedPower, RunsNothingAndAnswersExecutionFailed) {
  SaveSettings(2, 0);
  const auto reply = Send(GetParam().func, GetParam().data);
  EXPECT_EQ(reply["code"], -1);
  EXPECT_EQ(reply["msg"], kExecFailedText);
  EXPECT_EQ(reply["data"]["state"], false);
  EXPECT_EQ(StandinLog(), "");
}

INSTANTIATE_TEST_SUITE_P(Operations, VmwareRefusedPower, ::testing::ValuesIn(kRefusedCases));

TEST_F(VmwareClonesTest, AllClonesAreStoppedOneAfterTheOther) {
  SaveSettings(2, 0);
  EXPECT_EQ(Send("Vm_Shutdown", {{"type", 0}, {"off_Type", 1}})["code"], 200);
  EXPECT_EQ(StandinLog(), PowerLine("stop", 0, "hard") + PowerLine("stop", 1, "hard"));
}

// Starting all clones waits the interval after each one, and the window
// stays alive meanwhile. tarnwick-cli has no window, so a copy of this test
// program in the program folder plays the window program: see
// RunStartAllAsWindowProgram below.
constexpr char kChildFlag[] = "--twk-start-all-child";

TEST_F(VmwareClonesTest, StartingAllWaitsAfterEachCloneWhileWindowMessagesAreHandled) {
  SaveSettings(2, 1);
  const std::string child = ProgramFile("window-program.exe");
  ASSERT_TRUE(CopyFileA(testing_support::TestProgramPath().c_str(), child.c_str(), FALSE));

  const auto result = testing_support::RunChild("\"" + child + "\" " + kChildFlag, "", environment_);
  ASSERT_TRUE(result.started);
  ASSERT_EQ(result.exitCode, 0u) << result.out << result.err;
  // "<handled 0|1> <milliseconds>\n" and the reply.
  const size_t lineEnd = result.out.find('\n');
  ASSERT_NE(lineEnd, std::string::npos) << result.out;
  const std::string report = result.out.substr(0, lineEnd);
  EXPECT_EQ(report.substr(0, 2), "1 ") << "no message was handled while the clones were started";
  EXPECT_GE(std::strtoull(report.c_str() + 2, nullptr, 10), 2000u) << report;  // one second after each of two
  const auto reply = ordered_json::parse(result.out.substr(lineEnd + 1), nullptr, false);
  EXPECT_EQ(reply["code"], 200);
  EXPECT_EQ(reply["data"]["state"], true);
  const std::string start0 = PowerLine("start", 0, "gui");
  const std::string start1 = PowerLine("start", 1, "gui");
  EXPECT_EQ(StandinLog(), start0 + start0 + start1 + start1);
}

// --- the window program's half ---

constexpr UINT kProbeMessage = WM_APP + 7;

LRESULT CALLBACK ProbeWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kProbeMessage) {
    *reinterpret_cast<bool*>(GetWindowLongPtrW(window, GWLP_USERDATA)) = true;
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// Posts the probe once the first tool line has started (the stand-in logs
// it), so it arrives while the operation is under way.
void PostWhenTheFirstToolRuns(HWND window) {
  const char* log = std::getenv("STANDIN_LOG");
  for (int waited = 0; log && waited < 6000 && ReadFileBytes(log).empty(); ++waited) Sleep(10);
  PostMessageW(window, kProbeMessage, 0, 0);
}

// Runs "Vm_PowerON" for all clones as the window program's dispatcher does,
// on a thread with a window, and prints whether the probe posted meanwhile
// was handled before the command returned, how long it took, and the reply.
UINT RunStartAllAsWindowProgram() {
  SetDiagnosticsStream(stderr);
  SetCurrentDirectoryA(ProgramDirectory().c_str());
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = ProbeWindowProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"TarnwickProbe";
  if (!RegisterClassW(&windowClass)) return 2;
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                windowClass.hInstance, nullptr);
  if (!window) return 3;
  bool handled = false;
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&handled));

  std::thread poster(PostWhenTheFirstToolRuns, window);
  CommandEnvironment environment;
  const std::string request = R"({"func":"Vm_PowerON","tag":1,"data":{"type":0,"VmxId":0}})";
  const ULONGLONG started = GetTickCount64();
  const std::optional<std::string> reply = RunScriptCall(1, &request, environment);
  const ULONGLONG took = GetTickCount64() - started;
  const bool handledInTime = handled;
  poster.join();
  DestroyWindow(window);
  printf("%d %llu\n%s", handledInTime ? 1 : 0, took, reply.value_or("").c_str());
  fflush(stdout);
  return 0;
}

// Runs before main, so the copy started as the window program never reaches GoogleTest.
[[maybe_unused]] const bool childModeChecked = [] {
  if (!std::strstr(GetCommandLineA(), kChildFlag)) return false;
  ExitProcess(RunStartAllAsWindowProgram());
}();

}  // namespace
