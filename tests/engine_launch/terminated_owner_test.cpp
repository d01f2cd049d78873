// When Tarnwick's process is ended by TerminateProcess no clean-up code of
// ours runs, yet the browser must end with it. The test program relaunches
// itself as that process: the copy starts the browser, then ends itself.

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine/launch/browser_process.h"
#include "engine/launch/loopback_socket.h"
#include "engine/launch/utf16_text.h"
#include "engine/net/winsock_init.h"
#include "support/text_encoding.h"
#include "support/win_handle.h"
#include "tests/common/test_support.h"
#include "tests/engine_launch/fake_browser.h"
#include "tests/engine_launch/launch_test_support.h"

namespace {

constexpr wchar_t kChildFlag[] = L"--twk-browser-owner";
constexpr UINT kBrowserAnswered = 0;
constexpr UINT kBrowserFailed = 1;

// The browser the copy starts: Chromium through the wrapper (under Wine), or
// this program standing in for a Windows browser.
constexpr wchar_t kThroughWrapper[] = L"wrapper";
constexpr wchar_t kWindowsStandIn[] = L"windows";

BrowserOptions OwnerOptions(const std::wstring& kind) {
  BrowserOptions options;
  if (kind == kThroughWrapper) {
    options.program = launch_testing::WrapperPath();
  } else {
    options.program = AnsiToUtf8(testing_support::TestProgramPath());
    options.extraSwitches = {kFakeBrowserSwitch};
  }
  return options;
}

// The relaunched copy: <program> --twk-browser-owner <kind> <port> <profile folder>.
// Starts the browser and ends itself the hard way, as Tarnwick ends.
UINT ActAsOwner(const std::wstring& kind, const std::wstring& port, const std::wstring& profile) {
  BrowserOptions options = OwnerOptions(kind);
  options.debuggingPort = static_cast<uint16_t>(std::wcstoul(port.c_str(), nullptr, 10));
  options.userDataFolder = Utf16ToUtf8(profile);
  BrowserProcess browser;
  const UINT code = browser.Start(options).ok() ? kBrowserAnswered : kBrowserFailed;
  TerminateProcess(GetCurrentProcess(), code);
  return code;
}

// Runs before main, so the relaunched copy never reaches GoogleTest.
[[maybe_unused]] const bool childModeChecked = [] {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments && count == 5 && std::wstring(arguments[1]) == kChildFlag) {
    const std::wstring kind = arguments[2], port = arguments[3], profile = arguments[4];
    LocalFree(arguments);
    ExitProcess(ActAsOwner(kind, port, profile));
  }
  LocalFree(arguments);
  return false;
}();

struct OwnerCase {
  const char* what;
  const wchar_t* kind;
  bool needsWine;
};

const OwnerCase kOwnerCases[] = {
    {"Chromium under Wine, held by the lifeline", kThroughWrapper, true},
    {"a Windows browser, held by the job object", kWindowsStandIn, false},
};

TEST(TerminatedOwner, TheBrowserEndsWithTheProcessThatStartedIt) {
  WinsockSession winsock;
  for (const OwnerCase& c : kOwnerCases) {
    SCOPED_TRACE(c.what);
    if (c.needsWine && launch_testing::WrapperPath().empty()) continue;
    testing_support::TempFolder folder;  // holds the profile, which the copy cannot remove
    const std::string profile = folder / "owner\\profile";  // made by the launch, parents too
    const uint16_t port = launch_testing::UnusedLoopbackPort();

    std::wstring commandLine = L"\"" + Utf8ToUtf16(AnsiToUtf8(testing_support::TestProgramPath())) + L"\" " +
                               kChildFlag + L" " + c.kind + L" " + std::to_wstring(port) + L" \"" +
                               Utf8ToUtf16(AnsiToUtf8(profile)) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                               nullptr, &startup, &started));
    WinHandle owner(started.hProcess), thread(started.hThread);
    ASSERT_EQ(WaitForSingleObject(owner.Get(), 120000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(owner.Get(), &code);
    ASSERT_EQ(code, kBrowserAnswered) << "the copy could not start the browser";

    EXPECT_TRUE(launch_testing::WaitUntil([&] { return !LoopbackPortAnswers(port); }, std::chrono::seconds(20)))
        << "the browser outlived the process that started it";
    // Nothing of the browser's holds on to its profile, which can go.
    EXPECT_TRUE(launch_testing::WaitUntil(
        [&] {
          testing_support::RemoveTree(profile);
          return !testing_support::FolderExists(profile);
        },
        std::chrono::seconds(20)));
  }
}

}  // namespace
