#pragma once
// The layer's process-wide state: the application object, the browser
// process it started, the DevTools connection, the browsers, and the queue of
// work that CefDoMessageLoopWork runs. One per process, used on the UI thread
// only (the thread that called CefInitialize).

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/include/cef_app.h"
#include "engine/runtime/cdp_connection.h"
#include "engine/runtime/engine_objects.h"

class BrowserProcess;

class EngineRuntime {
 public:
  static EngineRuntime& Get();

  bool Initialize(const CefSettings& settings, CefRefPtr<CefApp> app);
  void DoWork();
  void Shutdown();

  bool initialized() const { return connection_ != nullptr; }
  bool OnUiThread() const;
  CefRefPtr<CefApp> app() const { return app_; }
  CefRefPtr<CefRenderProcessHandler> RenderHandler() const;
  const CefSettings& settings() const { return settings_; }
  CdpConnection* connection() const { return connection_.get(); }

  // Queues work for the next DoWork and makes sure the loop wakes for it.
  void Post(std::function<void()> work);
  // Wakes the loop at the latest after delayMs (for paced work).
  void WakeAfter(int delayMs);

  CefRefPtr<CefBrowser> CreateBrowser(const CefWindowInfo& windowInfo, CefRefPtr<CefClient> client,
                                      const std::string& url, const CefBrowserSettings& settings);
  void ForgetBrowser(const std::string& sessionId);

  // The script context calls run in (CefV8Context::GetCurrentContext, Enter, Exit).
  std::vector<CefRefPtr<CefV8Context>>& contextStack() { return contextStack_; }

 private:
  EngineRuntime() = default;
  void OnEvent(const std::string& method, const nlohmann::json& params, const std::string& sessionId);
  void RunQueuedWork();
  void LoseConnection();

  CefRefPtr<CefApp> app_;
  CefSettings settings_;
  DWORD uiThread_ = 0;
  HWND wakeWindow_ = nullptr;  // message-only: socket traffic and queued work wake GetMessageW through it
  std::unique_ptr<BrowserProcess> process_;
  std::unique_ptr<CdpConnection> connection_;
  std::deque<std::function<void()>> work_;
  std::map<std::string, CefRefPtr<BrowserImpl>> browsers_;  // by session id
  std::vector<CefRefPtr<CefV8Context>> contextStack_;
  int nextBrowserId_ = 1;
};
