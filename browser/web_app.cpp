#include "browser/web_app.h"

#include "bridge/renderer_messages.h"
#include "bridge/script_messages.h"

void WebApp::OnBeforeCommandLineProcessing(const CefString&, CefRefPtr<CefCommandLine> command_line) {
  // Frames are produced when the host asks for them, in every process.
  command_line->AppendSwitch("enable-begin-frame-scheduling");
}

void WebApp::OnContextCreated(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame>, CefRefPtr<CefV8Context> context) {
  // Every context, main frame and sub-frames alike, gets the page function.
  CefRefPtr<CefV8Value> global = context->GetGlobal();
  crossCallHandler_ = new CrossCallHandler(&callbacks_);
  CefRefPtr<CefV8Value> function = CefV8Value::CreateFunction(ScriptMessage::kCrossCall, crossCallHandler_.get());
  global->SetValue(ScriptMessage::kCrossCall, function, V8_PROPERTY_ATTRIBUTE_NONE);
}

bool WebApp::OnProcessMessageReceived(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame>, cef_process_id_t,
                                      CefRefPtr<CefProcessMessage> message) {
  return HandleRendererMessage(browser, message, callbacks_);
}
