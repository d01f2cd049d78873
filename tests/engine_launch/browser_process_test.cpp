#include "engine/launch/browser_process.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "engine/launch/browser_locator.h"
#include "engine/launch/http_get.h"
#include "engine/launch/loopback_socket.h"
#include "engine/launch/utf16_text.h"
#include "engine/net/winsock_init.h"
#include "support/text_encoding.h"
#include "tests/common/test_support.h"
#include "tests/engine_launch/fake_browser.h"
#include "tests/engine_launch/launch_test_support.h"

namespace {

using launch_testing::ScopedVariable;
using launch_testing::UnusedLoopbackPort;
using launch_testing::WaitUntil;
using launch_testing::WrapperPath;
using std::chrono::milliseconds;
using std::chrono::seconds;

// Bounds that only keep a broken build from hanging the suite.
constexpr seconds kEndingBound{20};

bool FolderExists(const std::string& utf8Path) {
  const DWORD attributes = GetFileAttributesW(Utf8ToUtf16(utf8Path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// An IPv4 address of this machine other than loopback, if it has one: from
// its host name, else the address it would send from to the outside.
std::optional<in_addr> NonLoopbackAddress() {
  char host[256] = {};
  addrinfo hints{};
  hints.ai_family = AF_INET;
  addrinfo* found = nullptr;
  if (gethostname(host, sizeof(host)) == 0 && getaddrinfo(host, nullptr, &hints, &found) == 0) {
    for (const addrinfo* a = found; a; a = a->ai_next) {
      const in_addr address = reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr;
      if ((ntohl(address.s_addr) >> 24) != 127) {
        freeaddrinfo(found);
        return address;
      }
    }
    freeaddrinfo(found);
  }
  // Connecting a UDP socket sends nothing; it only picks the route.
  SocketHandle udp(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP));
  sockaddr_in outside{};
  outside.sin_family = AF_INET;
  outside.sin_port = htons(9);
  inet_pton(AF_INET, "203.0.113.1", &outside.sin_addr);
  sockaddr_in local{};
  int size = sizeof(local);
  if (udp && connect(udp.Get(), reinterpret_cast<sockaddr*>(&outside), sizeof(outside)) == 0 &&
      getsockname(udp.Get(), reinterpret_cast<sockaddr*>(&local), &size) == 0 && local.sin_addr.s_addr != 0 &&
      (ntohl(local.sin_addr.s_addr) >> 24) != 127)
    return local.sin_addr;
  return std::nullopt;
}

// Whether a TCP connection to address:port is accepted within a few seconds.
bool Connects(in_addr address, uint16_t port) {
  SocketHandle socket(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  u_long nonBlocking = 1;
  ioctlsocket(socket.Get(), FIONBIO, &nonBlocking);
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_addr = address;
  target.sin_port = htons(port);
  if (connect(socket.Get(), reinterpret_cast<sockaddr*>(&target), sizeof(target)) == 0) return true;
  // Windows (and Wine) report a refused connection as an exception.
  fd_set writable, failed;
  FD_ZERO(&writable);
  FD_ZERO(&failed);
  FD_SET(socket.Get(), &writable);
  FD_SET(socket.Get(), &failed);
  timeval wait{3, 0};
  int error = 0;
  int size = sizeof(error);
  return select(0, nullptr, &writable, &failed, &wait) > 0 && FD_ISSET(socket.Get(), &writable) &&
         getsockopt(socket.Get(), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) == 0 && error == 0;
}

// A socket listening on every address of this machine; its port in *port.
SocketHandle ListenEverywhere(uint16_t* port) {
  SocketHandle socket(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  int size = sizeof(address);
  if (bind(socket.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || listen(socket.Get(), 1) != 0 ||
      getsockname(socket.Get(), reinterpret_cast<sockaddr*>(&address), &size) != 0)
    return {};
  *port = ntohs(address.sin_port);
  return socket;
}

// The status code of the reply to a WebSocket upgrade request, 0 for none.
int UpgradeStatus(uint16_t port, const std::string& path, const std::string& originHeader) {
  SocketHandle socket = ConnectToLoopback(port, seconds(5));
  if (!socket) return 0;
  const std::string request = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
                              "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                              "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n" +
                              originHeader + "\r\n";
  send(socket.Get(), request.data(), static_cast<int>(request.size()), 0);
  DWORD timeout = 5000;
  setsockopt(socket.Get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
  std::string reply;
  char buffer[1024];
  int n;
  while (reply.find("\r\n") == std::string::npos && (n = recv(socket.Get(), buffer, sizeof(buffer), 0)) > 0)
    reply.append(buffer, static_cast<size_t>(n));
  return reply.compare(0, 9, "HTTP/1.1 ") == 0 ? std::atoi(reply.c_str() + 9) : 0;
}

// One browser for the checks that only look at a running browser, started
// the way the product starts it: TARNWICK_BROWSER names the wrapper, the
// locator finds it. Its extra switches try to open the port to other hosts
// and origins; the layer must not let them.
class RunningBrowserTest : public ::testing::Test {
 protected:
  struct Shared {
    BrowserOptions options;
    BrowserProcess browser;
    BrowserStartResult start;
  };

  static void SetUpTestSuite() {
    if (WrapperPath().empty()) return;
    ScopedVariable browserChoice(kBrowserVariable, WrapperPath());
    shared_ = std::make_unique<Shared>();
    shared_->options.program = LocateBrowser();
    shared_->options.debuggingPort = UnusedLoopbackPort();
    shared_->options.extraSwitches = {"remote-allow-origins=*", "remote-debugging-address=0.0.0.0"};
    shared_->start = shared_->browser.Start(shared_->options);
  }
  static void TearDownTestSuite() { shared_.reset(); }

  void SetUp() override {
    if (!shared_) GTEST_SKIP() << "needs Wine and Debian's Chromium";
    ASSERT_TRUE(start().ok()) << start().detail;
  }

  static uint16_t port() { return shared_->options.debuggingPort; }
  static const BrowserStartResult& start() { return shared_->start; }
  static const BrowserProcess& browser() { return shared_->browser; }

  WinsockSession winsock_;
  static std::unique_ptr<Shared> shared_;
};
std::unique_ptr<RunningBrowserTest::Shared> RunningBrowserTest::shared_;

TEST_F(RunningBrowserTest, ItsDebuggingPortGivesTheAddressStartReturned) {
  const std::string prefix = "ws://127.0.0.1:" + std::to_string(port()) + "/devtools/browser/";
  EXPECT_EQ(start().webSocketDebuggerUrl.substr(0, prefix.size()), prefix);
  EXPECT_EQ(FetchWebSocketDebuggerUrl(port(), seconds(5)), start().webSocketDebuggerUrl);
  EXPECT_TRUE(FolderExists(browser().userDataFolder())) << browser().userDataFolder();
}

TEST_F(RunningBrowserTest, ItListensOnLoopbackOnly) {
  const std::optional<in_addr> other = NonLoopbackAddress();
  if (!other) GTEST_SKIP() << "this machine has no address but loopback";
  char shown[INET_ADDRSTRLEN] = {};
  SCOPED_TRACE(inet_ntop(AF_INET, &*other, shown, sizeof(shown)));
  // The control: that address takes connections to a port open on every address.
  uint16_t openPort = 0;
  const SocketHandle open = ListenEverywhere(&openPort);
  ASSERT_TRUE(open);
  ASSERT_TRUE(Connects(*other, openPort));

  in_addr loopback{};
  loopback.s_addr = htonl(INADDR_LOOPBACK);
  EXPECT_TRUE(Connects(loopback, port()));
  EXPECT_FALSE(Connects(*other, port()));
}

TEST_F(RunningBrowserTest, ItRefusesWebSocketsFromOtherOrigins) {
  const std::string path = start().webSocketDebuggerUrl.substr(start().webSocketDebuggerUrl.find("/devtools/"));
  struct OriginCase {
    const char* what;
    const char* header;
    int expectedStatus;
  };
  const OriginCase cases[] = {
      {"a web page elsewhere", "Origin: http://evil.example\r\n", 403},
      {"a page on another local port", "Origin: http://127.0.0.1:1\r\n", 403},
      // The control: the same request without an Origin, as Tarnwick sends it.
      {"no Origin at all", "", 101},
  };
  for (const OriginCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(UpgradeStatus(port(), path, c.header), c.expectedStatus);
  }
}

class BrowserProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (WrapperPath().empty()) GTEST_SKIP() << "needs Wine and Debian's Chromium";
  }
  WinsockSession winsock_;
};

TEST_F(BrowserProcessTest, DestroyingItEndsTheBrowserAndRemovesItsTemporaryProfile) {
  BrowserOptions options;
  options.program = WrapperPath();
  options.debuggingPort = UnusedLoopbackPort();
  std::string profile;
  {
    BrowserProcess browser;
    const BrowserStartResult start = browser.Start(options);
    ASSERT_TRUE(start.ok()) << start.detail;
    profile = browser.userDataFolder();
    ASSERT_TRUE(FolderExists(profile));
  }
  EXPECT_TRUE(WaitUntil([&] { return !LoopbackPortAnswers(options.debuggingPort); }, kEndingBound));
  EXPECT_FALSE(FolderExists(profile)) << profile;
}

TEST_F(BrowserProcessTest, AProgramThatCannotBeStartedFailsAtOnce) {
  struct ProgramCase {
    const char* what;
    std::string program;
  };
  const ProgramCase cases[] = {
      {"no browser found", ""},
      {"a Windows path to nothing", "C:\\nowhere\\msedge.exe"},
      {"a Unix path to nothing", "/nonexistent/chromium"},
  };
  for (const ProgramCase& c : cases) {
    SCOPED_TRACE(c.what);
    BrowserOptions options;
    options.program = c.program;
    options.debuggingPort = UnusedLoopbackPort();
    options.timeout = std::chrono::minutes(10);  // reaching it would mean the start was not refused
    BrowserProcess browser;
    const BrowserStartResult start = browser.Start(options);
    EXPECT_EQ(start.failure, BrowserStartFailure::kCannotStart) << start.detail;
    EXPECT_FALSE(browser.IsRunning());
    EXPECT_EQ(browser.userDataFolder(), "");
  }
}

TEST_F(BrowserProcessTest, ABrowserThatNeverOpensItsPortFailsAtTheTimeOut) {
  // The wrapper runs a program that never listens.
  ScopedVariable notChromium(L"TARNWICK_CHROMIUM", std::string("/bin/sleep"));
  BrowserOptions options;
  options.program = WrapperPath();
  options.debuggingPort = UnusedLoopbackPort();
  options.timeout = milliseconds(1500);
  BrowserProcess browser;
  const BrowserStartResult start = browser.Start(options);
  EXPECT_EQ(start.failure, BrowserStartFailure::kNoAnswer) << start.detail;
  EXPECT_FALSE(browser.IsRunning());
}

TEST_F(BrowserProcessTest, APortAlreadyAnsweringIsNotTakenForTheBrowser) {
  uint16_t port = 0;
  const SocketHandle squatter = ListenOnLoopback(1, &port);
  ASSERT_TRUE(squatter);
  BrowserOptions options;
  options.program = WrapperPath();
  options.debuggingPort = port;
  BrowserProcess browser;
  EXPECT_EQ(browser.Start(options).failure, BrowserStartFailure::kPortInUse);
}

// This program standing in for a Windows browser: what real Windows runs,
// a process with a handle, in the job object.
class WindowsBrowserTest : public ::testing::Test {
 protected:
  static BrowserOptions StandInOptions(const char* standInSwitch = kFakeBrowserSwitch) {
    BrowserOptions options;
    options.program = AnsiToUtf8(testing_support::TestProgramPath());
    options.debuggingPort = UnusedLoopbackPort();
    options.extraSwitches = {standInSwitch};
    return options;
  }
  WinsockSession winsock_;
};

TEST_F(WindowsBrowserTest, ItGetsTheProfileAndLanguageAsGiven) {
  testing_support::TempFolder folder;
  BrowserOptions options = StandInOptions();
  // A space to quote, a character beyond ASCII, and a trailing separator.
  const std::string profile = AnsiToUtf8(folder.path()) + "Profil \xC3\xA9t\xC3\xA9";
  options.userDataFolder = profile + "\\";
  options.locale = "fr-FR";
  BrowserProcess browser;
  const BrowserStartResult start = browser.Start(options);
  ASSERT_TRUE(start.ok()) << start.detail;

  const std::optional<HttpResponse> version = HttpGetLoopback(options.debuggingPort, "/json/version", seconds(5));
  ASSERT_TRUE(version);
  const auto arguments = nlohmann::json::parse(version->body)["arguments"].get<std::vector<std::string>>();
  auto has = [&](const std::string& argument) {
    return std::find(arguments.begin(), arguments.end(), argument) != arguments.end();
  };
  EXPECT_TRUE(has("--user-data-dir=" + profile)) << version->body;
  EXPECT_TRUE(has("--lang=fr-FR")) << version->body;
  EXPECT_EQ(arguments.back(), "about:blank");
}

TEST_F(WindowsBrowserTest, DestroyingItEndsTheBrowser) {
  const BrowserOptions options = StandInOptions();
  {
    BrowserProcess browser;
    const BrowserStartResult start = browser.Start(options);
    ASSERT_TRUE(start.ok()) << start.detail;
    EXPECT_TRUE(LoopbackPortAnswers(options.debuggingPort));
  }
  EXPECT_TRUE(WaitUntil([&] { return !LoopbackPortAnswers(options.debuggingPort); }, kEndingBound));
}

TEST_F(WindowsBrowserTest, ABrowserThatEndsBeforeAnsweringFailsWithoutAwaitingTheTimeOut) {
  BrowserOptions options = StandInOptions(kFakeBrowserThatEndsSwitch);
  options.timeout = std::chrono::minutes(10);  // reaching it would mean the end went unnoticed
  BrowserProcess browser;
  const BrowserStartResult start = browser.Start(options);
  EXPECT_EQ(start.failure, BrowserStartFailure::kNoAnswer) << start.detail;
  EXPECT_FALSE(browser.IsRunning());
}

}  // namespace
