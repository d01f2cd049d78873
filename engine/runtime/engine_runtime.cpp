#include "engine/runtime/engine_runtime.h"

#include <winsock2.h>
#include <windows.h>

#include "engine/launch/browser_locator.h"
#include "engine/launch/browser_process.h"

namespace {

// Messages to the wake window. Its window procedure does nothing: the point
// is that GetMessageW returns and the main loop calls CefDoMessageLoopWork.
constexpr UINT kSocketMessage = WM_APP + 0x2A0;
constexpr UINT kWorkMessage = WM_APP + 0x2A1;
constexpr UINT_PTR kPaceTimer = 1;
constexpr int kConnectTimeoutMs = 20000;

HWND CreateWakeWindow() {
  static const wchar_t kClass[] = L"TarnwickEngineWake";
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kClass;
  RegisterClassExW(&windowClass);
  return CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// Switches from the application for the browser's command line, as "name"
// or "name=value".
std::vector<std::string> ApplicationSwitches(CefRefPtr<CefApp> app) {
  CefRefPtr<CefCommandLine> commandLine = CefCommandLine::CreateCommandLine();
  if (app) app->OnBeforeCommandLineProcessing(CefString(), commandLine);
  std::vector<std::string> switches;
  for (const std::string& argument : commandLine->GetSwitchArguments()) switches.push_back(argument.substr(2));
  return switches;
}

// A port nobody listens on, for settings that name none.
uint16_t FreeLoopbackPort() {
  SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (probe == INVALID_SOCKET) return 0;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof(address);
  uint16_t port = 0;
  if (bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
      getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port = ntohs(address.sin_port);
  closesocket(probe);
  return port;
}

}  // namespace

EngineRuntime& EngineRuntime::Get() {
  static EngineRuntime runtime;
  return runtime;
}

bool EngineRuntime::OnUiThread() const { return uiThread_ == 0 || GetCurrentThreadId() == uiThread_; }

CefRefPtr<CefRenderProcessHandler> EngineRuntime::RenderHandler() const {
  return app_ ? app_->GetRenderProcessHandler() : nullptr;
}

bool EngineRuntime::Initialize(const CefSettings& settings, CefRefPtr<CefApp> app) {
  if (connection_) return true;
  app_ = app;
  settings_ = settings;
  uiThread_ = GetCurrentThreadId();

  BrowserOptions options;
  options.program = LocateBrowser();
  if (options.program.empty()) return false;
  auto process = std::make_unique<BrowserProcess>();  // its Winsock session also serves the probe below
  options.debuggingPort = settings.remote_debugging_port > 0 ? static_cast<uint16_t>(settings.remote_debugging_port)
                                                             : FreeLoopbackPort();
  options.userDataFolder = settings.cache_path.ToString();
  options.locale = settings.locale.ToString();
  options.extraSwitches = ApplicationSwitches(app);
  options.timeout = std::chrono::milliseconds(kConnectTimeoutMs);
  const BrowserStartResult started = process->Start(options);
  if (!started.ok()) return false;

  auto socket = std::make_unique<WebSocketClient>();
  if (!socket->Connect(started.webSocketDebuggerUrl, kConnectTimeoutMs)) return false;
  process_ = std::move(process);
  connection_ = std::make_unique<CdpConnection>(std::move(socket));
  connection_->SetEventHandler(
      [this](const std::string& method, const nlohmann::json& params, const std::string& sessionId) {
        OnEvent(method, params, sessionId);
      });

  wakeWindow_ = CreateWakeWindow();
  WSAAsyncSelect(connection_->socket(), wakeWindow_, kSocketMessage, FD_READ | FD_CLOSE);
  // Popups and title changes are told through the browser-wide target events.
  connection_->Call("Target.setDiscoverTargets", {{"discover", true}});
  connection_->Call("Browser.setDownloadBehavior", {{"behavior", "deny"}});
  if (app_) {
    if (CefRefPtr<CefBrowserProcessHandler> handler = app_->GetBrowserProcessHandler()) handler->OnContextInitialized();
  }
  return true;
}

void EngineRuntime::Post(std::function<void()> work) {
  work_.push_back(std::move(work));
  if (wakeWindow_) PostMessageW(wakeWindow_, kWorkMessage, 0, 0);
}

void EngineRuntime::WakeAfter(int delayMs) {
  if (wakeWindow_) SetTimer(wakeWindow_, kPaceTimer, static_cast<UINT>(delayMs > 0 ? delayMs : 1), nullptr);
}

void EngineRuntime::RunQueuedWork() {
  // Work queued while this runs (a reply to a message, say) runs in the same
  // round, so a request and its answer do not wait for another wake-up.
  for (int budget = 10000; budget > 0 && !work_.empty(); --budget) {
    std::function<void()> work = std::move(work_.front());
    work_.pop_front();
    work();
  }
}

void EngineRuntime::DoWork() {
  if (!connection_) {
    RunQueuedWork();
    return;
  }
  if (wakeWindow_) KillTimer(wakeWindow_, kPaceTimer);
  const bool open = connection_->DispatchPending();
  RunQueuedWork();
  for (auto& [session, browser] : browsers_) browser->AckDueFrame();
  if (!open) LoseConnection();
}

void EngineRuntime::OnEvent(const std::string& method, const nlohmann::json& params, const std::string& sessionId) {
  if (!sessionId.empty()) {
    const auto browser = browsers_.find(sessionId);
    if (browser != browsers_.end()) browser->second->HandleEvent(method, params);
    return;
  }
  if (method.rfind("Target.", 0) == 0) {
    // Copies: a handler may close a browser and so change the map.
    std::vector<CefRefPtr<BrowserImpl>> browsers;
    for (auto& [session, browser] : browsers_) browsers.push_back(browser);
    for (auto& browser : browsers) browser->HandleTargetEvent(method, params);
  }
}

void EngineRuntime::LoseConnection() {
  std::vector<CefRefPtr<BrowserImpl>> browsers;
  for (auto& [session, browser] : browsers_) browsers.push_back(browser);
  for (auto& browser : browsers) browser->OnConnectionLost();
  browsers_.clear();
}

CefRefPtr<CefBrowser> EngineRuntime::CreateBrowser(const CefWindowInfo& windowInfo, CefRefPtr<CefClient> client,
                                                   const std::string& url, const CefBrowserSettings& settings) {
  if (!connection_ || !connection_->IsOpen()) return nullptr;
  const auto target = connection_->Call("Target.createTarget", {{"url", "about:blank"}});
  if (!target || !target->contains("targetId")) return nullptr;
  const std::string targetId = (*target)["targetId"].get<std::string>();
  const auto attached = connection_->Call("Target.attachToTarget", {{"targetId", targetId}, {"flatten", true}});
  if (!attached || !attached->contains("sessionId")) {
    connection_->Send("Target.closeTarget", {{"targetId", targetId}});
    return nullptr;
  }
  const std::string sessionId = (*attached)["sessionId"].get<std::string>();
  CefRefPtr<BrowserImpl> browser =
      new BrowserImpl(nextBrowserId_++, targetId, sessionId, client, settings, windowInfo.parent_window);
  browsers_[sessionId] = browser;
  if (!browser->Start(url)) {
    browsers_.erase(sessionId);
    connection_->Send("Target.closeTarget", {{"targetId", targetId}});
    return nullptr;
  }
  if (client) {
    if (CefRefPtr<CefLifeSpanHandler> lifeSpan = client->GetLifeSpanHandler()) lifeSpan->OnAfterCreated(browser.get());
  }
  return browser.get();
}

void EngineRuntime::ForgetBrowser(const std::string& sessionId) {
  const auto found = browsers_.find(sessionId);
  if (found == browsers_.end()) return;
  // Released after this round, not while one of its own handlers may be on the stack.
  CefRefPtr<BrowserImpl> keep = found->second;
  browsers_.erase(found);
  Post([keep] {});
}

void EngineRuntime::Shutdown() {
  for (auto& [session, browser] : browsers_) {
    if (connection_) connection_->Send("Target.closeTarget", {{"targetId", browser->targetId()}});
  }
  browsers_.clear();
  work_.clear();
  contextStack_.clear();
  if (connection_) connection_->Close();
  connection_.reset();
  process_.reset();
  if (wakeWindow_) DestroyWindow(wakeWindow_);
  wakeWindow_ = nullptr;
  app_ = nullptr;
}
