#pragma once
// The application object the browser engine asks for its process handlers.
// Its render-process half is the page side of the script bridge.

#include "bridge/callback_registry.h"
#include "bridge/cross_call_handler.h"
#include "engine/include/cef_app.h"

class WebApp : public CefApp, public CefBrowserProcessHandler, public CefRenderProcessHandler {
 public:
  WebApp() = default;

  // CefApp
  void OnBeforeCommandLineProcessing(const CefString& process_type, CefRefPtr<CefCommandLine> command_line) override;
  CefRefPtr<CefBrowserProcessHandler> GetBrowserProcessHandler() override { return this; }
  CefRefPtr<CefRenderProcessHandler> GetRenderProcessHandler() override { return this; }

  // CefRenderProcessHandler
  void OnContextCreated(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                        CefRefPtr<CefV8Context> context) override;
  bool OnProcessMessageReceived(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                cef_process_id_t source_process, CefRefPtr<CefProcessMessage> message) override;

 private:
  CallbackRegistry callbacks_;
  CefRefPtr<CrossCallHandler> crossCallHandler_;  // the newest context's
  IMPLEMENT_REFCOUNTING(WebApp);
};
