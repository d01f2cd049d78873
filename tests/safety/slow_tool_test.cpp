// A slow vmrun.exe (STANDIN_DELAY_MS): wherever the product waits on its own
// terms - between two clones, in the interval after each machine, while
// vmrun lists the running machines - the window of the thread keeps getting
// its messages. The command runs in-process in a copy of this program placed
// in a sandbox program folder; a message is posted to a window of the thread
// from another thread while the tool runs, and must be dispatched before the
// command returns.

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <ostream>
#include <thread>

#include "commands/dispatcher.h"
#include "support/diagnostics.h"
#include "tests/safety/child_modes.h"
#include "tests/safety/cli_sandbox.h"
#include "tests/safety/sandboxed_self.h"

namespace safety {

namespace {

constexpr UINT kPostedMessage = WM_APP + 17;
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerPeriodMs = 50;
// Each vmrun run lasts this long: many timer periods, and long enough for the
// posting thread to see the run start and post while it is still going.
constexpr int kToolDelayMs = 400;

constexpr char kPostAfterVariable[] = "TWK_SAFETY_POST_AFTER";         // text of a tool line
constexpr char kPostAfterCountVariable[] = "TWK_SAFETY_POST_AFTER_N";  // its how-many-th run

struct SlowCase {
  const char* name;
  int cloneNumber;  // settings
  int intervalSeconds;
  const char* func;  // the request
  const char* data;
  const char* postAfter;  // the tool line during whose run the message is posted
  int postAfterCount;
  const char* replyMsg;
};

void PrintTo(const SlowCase& row, std::ostream* out) { *out << row.name; }

const SlowCase kSlowCases[] = {
    // Two clones: the message posted while clone 0 is made is dispatched in
    // the pause between the clones.
    {"BetweenClones", 2, 0, "Vm_Start_Cloning", R"({"number": 2})", " -T ws clone ", 1, kCloneOkText},
    // Starting the one clone runs its line twice, then waits a second
    // handling messages: the message posted during the second run is
    // dispatched in that wait.
    {"IntervalAfterAStart", 1, 1, "Vm_PowerON", R"({"type": 0, "VmxId": 0})", " -T ws start ", 2, kSuccessText},
    // The running list is read while vmrun runs; the message posted then is
    // dispatched while the output is awaited.
    {"WhileListingRunningMachines", 2, 0, "getlists", "{}", "\" list", 1, kSuccessText},
};

class SlowToolTest : public ::testing::TestWithParam<SlowCase> {
 protected:
  void SetUp() override { ForgetInstalledHypervisors(); }

  CliSandbox sandbox_;
};

TEST_P(SlowToolTest, TheWindowGetsItsMessagesWhileTheToolRuns) {
  const SlowCase& row = GetParam();
  CreateDirectoryA(sandbox_.RootFile("master").c_str(), nullptr);
  testing_support::WriteFileBytes(sandbox_.RootFile("master\\master.vmx"), "config.version = \"8\"\n");
  const std::string storage = sandbox_.RootFile("clones\\");
  CreateDirectoryA(storage.c_str(), nullptr);
  for (const char* clone : {"0", "1"}) CreateDirectoryA((storage + clone).c_str(), nullptr);
  const nlohmann::ordered_json settings = {{"InstallationPath", StandinTool("vmrun.exe")},
                                           {"MasterPath", sandbox_.RootFile("master\\master.vmx")},
                                           {"StoragePath", storage},
                                           {"CloneType", "linked"},
                                           {"CloneNumber", row.cloneNumber},
                                           {"NamePrefix", "web"},
                                           {"StartIntervalTime", row.intervalSeconds}};
  const CliReply saved = sandbox_.Send("Vm_Clone_Settings", settings);
  ASSERT_EQ(RunProblem(saved), "");
  ASSERT_EQ(saved.parsed["code"], 200);

  const std::string request =
      nlohmann::ordered_json{{"func", row.func}, {"tag", 1}, {"data", nlohmann::ordered_json::parse(row.data)}}.dump();
  std::vector<std::string> environment = sandbox_.StandinEnvironment();
  environment.push_back("STANDIN_DELAY_MS=" + std::to_string(kToolDelayMs));
  environment.push_back(std::string(kPostAfterVariable) + "=" + row.postAfter);
  environment.push_back(std::string(kPostAfterCountVariable) + "=" + std::to_string(row.postAfterCount));
  const WatchedRun run = RunWatched(SandboxedSelfCommand(sandbox_.ProgramFolder(), kPumpMode), request, environment);
  ASSERT_TRUE(run.started) << "error " << run.startError;
  ASSERT_FALSE(run.hung) << "the command hung";
  ASSERT_EQ(run.exitCode, 0u) << run.err;

  const size_t reportEnd = run.out.find('\n');
  ASSERT_NE(reportEnd, std::string::npos) << run.out;
  int posted = 0, dispatchedDuring = 0, dispatchedAfter = 0, timers = 0;
  ASSERT_EQ(sscanf(run.out.c_str(), "posted=%d during=%d after=%d timers=%d", &posted, &dispatchedDuring,
                   &dispatchedAfter, &timers),
            4)
      << run.out;
  EXPECT_EQ(posted, 1) << "the tool line \"" << row.postAfter << "\" never ran " << row.postAfterCount << " time(s)\n"
                       << testing_support::ReadFileBytes(sandbox_.StandinLog());
  EXPECT_EQ(dispatchedDuring, 1) << "the message posted while the tool ran was not dispatched before the command "
                                    "returned (dispatched afterwards: "
                                 << dispatchedAfter << ")";
  EXPECT_GT(timers, 0) << "no timer message was dispatched while the command ran";
  const std::string replyText = run.out.substr(reportEnd + 1);
  EXPECT_EQ(ReplyFormProblem(replyText), "") << replyText;
  const auto reply = nlohmann::ordered_json::parse(replyText, nullptr, false);
  EXPECT_EQ(reply["code"], 200) << replyText;
  EXPECT_EQ(reply["msg"], row.replyMsg) << replyText;
}

INSTANTIATE_TEST_SUITE_P(VmwareWaits, SlowToolTest, ::testing::ValuesIn(kSlowCases),
                         [](const auto& info) { return std::string(info.param.name); });

// What the window of the command's thread saw.
struct WindowWatch {
  std::atomic<bool> commandRunning{false};
  bool dispatchedDuring = false;
  bool dispatchedAfter = false;
  int timersDuring = 0;
};

LRESULT CALLBACK WatchingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* watch = reinterpret_cast<WindowWatch*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (watch && message == kPostedMessage) {
    (watch->commandRunning ? watch->dispatchedDuring : watch->dispatchedAfter) = true;
    return 0;
  }
  if (watch && message == WM_TIMER && wParam == kTimerId) {
    if (watch->commandRunning) ++watch->timersDuring;
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

std::string Variable(const char* name) {
  char value[1024] = {};
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
  return length < sizeof(value) ? std::string(value, length) : std::string();
}

size_t Occurrences(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// A message-only window of this thread, destroyed when the object goes.
class WatchingWindow {
 public:
  explicit WatchingWindow(WindowWatch& watch) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WatchingWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TarnwickSafetyWatch";
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              windowClass.hInstance, nullptr);
    if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&watch));
  }
  ~WatchingWindow() {
    if (window_) DestroyWindow(window_);
  }
  WatchingWindow(const WatchingWindow&) = delete;
  WatchingWindow& operator=(const WatchingWindow&) = delete;

  HWND Get() const { return window_; }

 private:
  HWND window_ = nullptr;
};

}  // namespace

int PumpChild() {
  SetDiagnosticsStream(stderr);
  std::string request;
  char buffer[4096];
  for (size_t got; (got = fread(buffer, 1, sizeof(buffer), stdin)) > 0;) request.append(buffer, got);

  WindowWatch watch;
  const WatchingWindow window(watch);
  if (!window.Get()) return 3;
  const std::string log = Variable("STANDIN_LOG");
  const std::string postAfter = Variable(kPostAfterVariable);
  const size_t postAfterCount = static_cast<size_t>(atoi(Variable(kPostAfterCountVariable).c_str()));
  std::atomic<bool> posted{false};
  std::atomic<bool> commandDone{false};

  // Watches the stand-ins' log from another thread and posts the message as
  // soon as the awaited tool run has started (each run logs itself first).
  std::thread poster([&] {
    while (!commandDone) {
      if (Occurrences(testing_support::ReadFileBytes(log), postAfter) >= postAfterCount) {
        posted = PostMessageW(window.Get(), kPostedMessage, 0, 0) != FALSE;
        return;
      }
      Sleep(2);
    }
  });

  CommandEnvironment environment;
  SetTimer(window.Get(), kTimerId, kTimerPeriodMs, nullptr);
  watch.commandRunning = true;
  const std::optional<std::string> reply = RunScriptCall(1, &request, environment);
  watch.commandRunning = false;
  commandDone = true;
  poster.join();
  KillTimer(window.Get(), kTimerId);

  // Whatever the command left in the queue is dispatched now, so a message
  // it never let through shows up as dispatched afterwards.
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  printf("posted=%d during=%d after=%d timers=%d\n", posted ? 1 : 0, watch.dispatchedDuring ? 1 : 0,
         watch.dispatchedAfter ? 1 : 0, watch.timersDuring);
  if (reply) fwrite(reply->data(), 1, reply->size(), stdout);
  fflush(stdout);
  return 0;
}

}  // namespace safety
