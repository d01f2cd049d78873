#pragma once
// Runs the real tarnwick.exe on the test display: a copy of it in a fresh
// program folder (its settings files and browser profile land there), a
// fixture page served on the loopback, the page's state read through the
// browser's debugging port, and the screen's pixels read back.

#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/net/socket_handle.h"
#include "engine/net/websocket_client.h"
#include "engine/net/winsock_init.h"
#include "support/win_handle.h"
#include "tests/common/test_support.h"

// tarnwick.exe's fixed debugging port.
inline constexpr uint16_t kDebuggingPort = 2088;

// Pumps this thread's window messages until done() or the time runs out.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs);

// Pages by path ("/page.html") over HTTP/1.0 on 127.0.0.1, from a thread of its own.
class PageServer {
 public:
  explicit PageServer(std::map<std::string, std::string> pages);
  ~PageServer();
  PageServer(const PageServer&) = delete;
  PageServer& operator=(const PageServer&) = delete;

  std::string Address(const std::string& path) const;

 private:
  void Serve();

  WinsockSession winsock_;
  std::map<std::string, std::string> pages_;
  SocketHandle listener_;
  uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

// One started program; ended by force when the object goes if still running.
class ChildProcess {
 public:
  // Standard output and error go to outputFile.
  ChildProcess(const std::string& program, const std::string& arguments, const std::string& outputFile);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return static_cast<bool>(process_); }
  // The exit code, or nothing while it still runs after timeoutMs.
  std::optional<DWORD> WaitForExit(int timeoutMs);

 private:
  WinHandle process_;
};

// A DevTools connection to the page (not the engine's own), for reading its state.
class PageInspector {
 public:
  // Waits for a page target whose address starts with urlPrefix and connects to it.
  bool Connect(const std::string& urlPrefix, int timeoutMs);
  // The expression's value (returnByValue), or nothing when it throws or no answer comes.
  std::optional<nlohmann::json> Evaluate(const std::string& expression);

 private:
  WinsockSession winsock_;
  WebSocketClient socket_;
  int nextId_ = 1;
};

// The screen's pixels as 0xRRGGBB, rows top to bottom.
struct Screenshot {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
Screenshot CaptureScreen();

class TarnwickTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts tarnwick.exe from the program folder with the arguments.
  ChildProcess& Start(const std::string& arguments);
  // Starts it showing the fixture page and waits for its window; null when none came.
  HWND StartWithPage();
  // The running main window, after waiting up to timeoutMs for it.
  static HWND WaitForMainWindow(int timeoutMs);
  std::string Output() const { return testing_support::ReadFileBytes(folder_ / "output.txt"); }
  std::string ProgramFile(const std::string& name) const { return folder_ / name; }

  testing_support::TempFolder folder_;
  std::unique_ptr<PageServer> server_;
  std::vector<std::unique_ptr<ChildProcess>> processes_;
  PageInspector page_;
};

// A started program whose fixture page can send requests: ask() keeps the
// reply, tell() sends with callback id 0.
class PageRequestTest : public TarnwickTest {
 protected:
  void SetUp() override;

  void Ask(const std::string& request) { ASSERT_TRUE(page_.Evaluate("ask(" + request + "), true")); }
  void Tell(const std::string& request) { ASSERT_TRUE(page_.Evaluate("tell(" + request + "), true")); }
  // The replies the page's callbacks got, parsed, once there are `count`.
  std::vector<nlohmann::json> Replies(size_t count);

  HWND window_ = nullptr;
  time_t launchedAfter_ = 0;
};
