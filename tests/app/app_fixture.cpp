#include "tests/app/app_fixture.h"

#include <cstdlib>

#include "app/program_identity.h"
#include "engine/launch/http_get.h"
#include "engine/launch/loopback_socket.h"

namespace {

// Opaque boxes in two corners of a transparent page, and the page's side of
// the bridge test: replies collected in order.
const char kFixturePage[] = R"(<!doctype html>
<html><head><style>
html, body { margin: 0; background: transparent; }
#corner { position: absolute; left: 0; top: 0; width: 300px; height: 200px; background: #ff0000; }
#far { position: absolute; left: 1000px; top: 400px; width: 400px; height: 320px; background: #0000ff; }
</style></head><body><div id="corner"></div><div id="far"></div>
<script>
window.replies = [];
window.ask = (request) => js_api_cross_call(JSON.stringify(request), (reply) => window.replies.push(reply));
window.tell = (request) => js_api_cross_call(JSON.stringify(request));
</script></body></html>)";

constexpr int kStartTimeoutMs = 60000;
constexpr int kPortCloseTimeoutMs = 30000;

// The project's Chromium wrapper, by its Unix path (Wine starts it so).
std::string BrowserWrapperUnixPath() {
  char full[MAX_PATH * 2] = {};
  GetFullPathNameA((testing_support::TestProgramFolder() + "..\\..\\tools\\browser\\chromium-under-wine").c_str(),
                   sizeof(full), full, nullptr);
  std::string path = full;
  if (path.size() > 2 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':') path.erase(0, 2);
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  while (!done()) {
    if (GetTickCount64() >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return true;
}

// --- PageServer ---------------------------------------------------------------

PageServer::PageServer(std::map<std::string, std::string> pages) : pages_(std::move(pages)) {
  listener_ = ListenOnLoopback(16, &port_);
  thread_ = std::thread([this] { Serve(); });
}

PageServer::~PageServer() {
  stopping_ = true;
  listener_.Close();  // ends the blocking accept
  thread_.join();
}

std::string PageServer::Address(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void PageServer::Serve() {
  while (!stopping_) {
    SocketHandle connection(accept(listener_.Get(), nullptr, nullptr));
    if (!connection) continue;
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
      const int got = recv(connection.Get(), buffer, sizeof(buffer), 0);
      if (got <= 0) break;
      request.append(buffer, static_cast<size_t>(got));
    }
    const size_t pathStart = request.find(' ') + 1;
    const std::string path = request.substr(pathStart, request.find(' ', pathStart) - pathStart);
    const auto page = pages_.find(path);
    const std::string body = page != pages_.end() ? page->second : "not here";
    const std::string response = std::string(page != pages_.end() ? "HTTP/1.0 200 OK" : "HTTP/1.0 404 Not Found") +
                                 "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
                                 std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    send(connection.Get(), response.data(), static_cast<int>(response.size()), 0);
    shutdown(connection.Get(), SD_SEND);
  }
}

// --- ChildProcess -------------------------------------------------------------

ChildProcess::ChildProcess(const std::string& program, const std::string& arguments, const std::string& outputFile) {
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  WinHandle output(CreateFileA(outputFile.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = INVALID_HANDLE_VALUE;
  startup.hStdOutput = startup.hStdError = output.Get();
  std::string commandLine = "\"" + program + "\" " + arguments;
  const std::string folder = program.substr(0, program.find_last_of('\\') + 1);
  PROCESS_INFORMATION started{};
  if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &startup,
                     &started)) {
    process_.Reset(started.hProcess);
    CloseHandle(started.hThread);
  }
}

ChildProcess::~ChildProcess() {
  if (!process_) return;
  if (WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) TerminateProcess(process_.Get(), 1);
  WaitForSingleObject(process_.Get(), INFINITE);
}

std::optional<DWORD> ChildProcess::WaitForExit(int timeoutMs) {
  if (!process_) return std::nullopt;
  if (!WaitUntil([&] { return WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0; }, timeoutMs))
    return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_.Get(), &code);
  return code;
}

// --- PageInspector ------------------------------------------------------------

bool PageInspector::Connect(const std::string& urlPrefix, int timeoutMs) {
  std::string debuggerUrl;
  WaitUntil(
      [&] {
        const auto list = HttpGetLoopback(kDebuggingPort, "/json/list", std::chrono::milliseconds(2000));
        if (!list || list->status != 200) return false;
        const nlohmann::json targets = nlohmann::json::parse(list->body, nullptr, false);
        if (!targets.is_array()) return false;
        for (const nlohmann::json& target : targets) {
          if (target.value("type", "") == "page" && target.value("url", "").rfind(urlPrefix, 0) == 0)
            debuggerUrl = target.value("webSocketDebuggerUrl", "");
        }
        return !debuggerUrl.empty();
      },
      timeoutMs);
  return !debuggerUrl.empty() && socket_.Connect(debuggerUrl, 10000);
}

std::optional<nlohmann::json> PageInspector::Evaluate(const std::string& expression) {
  const int id = nextId_++;
  const nlohmann::json call = {
      {"id", id},
      {"method", "Runtime.evaluate"},
      {"params", {{"expression", expression}, {"returnByValue", true}, {"awaitPromise", true}}}};
  if (!socket_.SendText(call.dump())) return std::nullopt;
  const ULONGLONG deadline = GetTickCount64() + 10000;
  while (GetTickCount64() < deadline) {
    std::vector<std::string> messages;
    if (!socket_.WaitForMessages(messages, 500)) return std::nullopt;
    for (const std::string& text : messages) {
      const nlohmann::json answer = nlohmann::json::parse(text, nullptr, false);
      if (!answer.is_object() || answer.value("id", 0) != id) continue;
      const nlohmann::json result = answer.value("result", nlohmann::json::object());
      if (result.contains("exceptionDetails")) return std::nullopt;
      return result.value("result", nlohmann::json::object()).value("value", nlohmann::json());
    }
  }
  return std::nullopt;
}

// --- screen -------------------------------------------------------------------

Screenshot CaptureScreen() {
  Screenshot shot;
  shot.width = GetSystemMetrics(SM_CXSCREEN);
  shot.height = GetSystemMetrics(SM_CYSCREEN);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = shot.width;
  info.bmiHeader.biHeight = -shot.height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib && memory) {
    HGDIOBJ previous = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, 0, 0, SRCCOPY | CAPTUREBLT);
    const uint32_t* pixels = static_cast<const uint32_t*>(bits);
    shot.pixels.reserve(static_cast<size_t>(shot.width) * shot.height);
    for (size_t i = 0; i < static_cast<size_t>(shot.width) * shot.height; ++i) shot.pixels.push_back(pixels[i] & 0xFFFFFF);
    SelectObject(memory, previous);
  }
  if (dib) DeleteObject(dib);
  if (memory) DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return shot;
}

// --- TarnwickTest ---------------------------------------------------------------

void TarnwickTest::SetUp() {
  ASSERT_NE(getenv("DISPLAY"), nullptr) << "these tests need an X display: run them through scripts/test (Xvfb)";
  {
    WinsockSession winsock;
    ASSERT_FALSE(LoopbackPortAnswers(kDebuggingPort)) << "port " << kDebuggingPort << " is taken: is a Tarnwick running?";
  }
  ASSERT_TRUE(CopyFileA((testing_support::ProductBinFolder() + "tarnwick.exe").c_str(),
                        ProgramFile("tarnwick.exe").c_str(), FALSE));
  SetEnvironmentVariableA("TARNWICK_BROWSER", BrowserWrapperUnixPath().c_str());
  server_ = std::make_unique<PageServer>(std::map<std::string, std::string>{{"/page.html", kFixturePage}});
}

void TarnwickTest::TearDown() {
  processes_.clear();  // ends what still runs
  // Chromium goes once its Tarnwick has gone; the next test needs the port.
  WinsockSession winsock;
  EXPECT_TRUE(WaitUntil([] { return !LoopbackPortAnswers(kDebuggingPort); }, kPortCloseTimeoutMs))
      << "the browser outlived tarnwick.exe";
  server_.reset();
}

ChildProcess& TarnwickTest::Start(const std::string& arguments) {
  processes_.push_back(std::make_unique<ChildProcess>(ProgramFile("tarnwick.exe"), arguments, ProgramFile("output.txt")));
  return *processes_.back();
}

HWND TarnwickTest::WaitForMainWindow(int timeoutMs) {
  HWND window = nullptr;
  WaitUntil(
      [&] {
        window = FindWindowW(kMainWindowClassName, nullptr);
        return window != nullptr && IsWindowVisible(window);
      },
      timeoutMs);
  return window;
}

HWND TarnwickTest::StartWithPage() {
  if (!Start(server_->Address("/page.html")).started()) return nullptr;
  HWND window = WaitForMainWindow(kStartTimeoutMs);
  if (window && !page_.Connect(server_->Address("/page.html"), kStartTimeoutMs)) return nullptr;
  return window;
}

void PageRequestTest::SetUp() {
  TarnwickTest::SetUp();
  if (HasFatalFailure()) return;
  launchedAfter_ = time(nullptr);
  window_ = StartWithPage();
  ASSERT_TRUE(window_) << Output();
  ASSERT_TRUE(WaitUntil([&] { return page_.Evaluate("typeof window.ask") == "function"; }, 30000));
}

std::vector<nlohmann::json> PageRequestTest::Replies(size_t count) {
  std::vector<nlohmann::json> replies;
  WaitUntil(
      [&] {
        const auto texts = page_.Evaluate("window.replies");
        if (!texts || !texts->is_array() || texts->size() < count) return false;
        replies.clear();
        for (const auto& text : *texts) replies.push_back(nlohmann::json::parse(text.get<std::string>(), nullptr, false));
        return true;
      },
      30000);
  return replies;
}
