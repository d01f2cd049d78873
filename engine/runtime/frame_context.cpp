// Frames and script contexts of a page.

#include <cmath>

#include "engine/runtime/engine_objects.h"
#include "engine/runtime/engine_runtime.h"
#include "engine/runtime/v8_values.h"

// --- frames ---------------------------------------------------------------

CefRefPtr<CefFrame> FrameImpl::GetParent() {
  if (parentId_.empty()) return nullptr;
  return browser_->FrameById(parentId_).get();
}

CefRefPtr<CefBrowser> FrameImpl::GetBrowser() { return browser_; }

CefRefPtr<CefV8Context> FrameImpl::GetV8Context() { return context_.get(); }

void FrameImpl::SetContext(CefRefPtr<V8ContextImpl> context) { context_ = context; }

void FrameImpl::LoadURL(const CefString& url) {
  browser_->Send("Page.navigate", {{"url", url.ToString()}, {"frameId", id_}});
}

void FrameImpl::ExecuteJavaScript(const CefString& code, const CefString&, int) {
  if (!context_ || !context_->IsValid()) return;
  browser_->Send("Runtime.evaluate", {{"expression", code.ToString()}, {"contextId", context_->id()}});
}

void FrameImpl::RunEditCommand(const char* command) {
  if (!context_ || !context_->IsValid()) return;
  browser_->Send("Runtime.evaluate",
                 {{"expression", std::string("document.execCommand('") + command + "')"}, {"contextId", context_->id()}});
}

void FrameImpl::SendProcessMessage(cef_process_id_t target_process, CefRefPtr<CefProcessMessage> message) {
  if (!message) return;
  // The two sides share this process, but a message is still a copy, handed
  // over in order by the loop and never by a direct call.
  CefRefPtr<CefProcessMessage> copy = message->Copy();
  CefRefPtr<FrameImpl> frame = this;
  CefRefPtr<CefBrowser> browser = browser_;
  EngineRuntime::Get().Post([frame, browser, copy, target_process] {
    if (target_process == PID_BROWSER) {
      CefRefPtr<CefClient> client = browser->GetHost()->GetClient();
      if (client) client->OnProcessMessageReceived(browser, frame.get(), PID_RENDERER, copy);
    } else if (CefRefPtr<CefRenderProcessHandler> handler = EngineRuntime::Get().RenderHandler()) {
      handler->OnProcessMessageReceived(browser, frame.get(), PID_BROWSER, copy);
    }
  });
}

// --- script contexts --------------------------------------------------------

CefRefPtr<CefBrowser> V8ContextImpl::GetBrowser() { return browser_; }

CefRefPtr<CefV8Value> V8ContextImpl::GetGlobal() { return V8ValueImpl::GlobalOf(this).get(); }

bool V8ContextImpl::Enter() {
  EngineRuntime::Get().contextStack().push_back(this);
  return true;
}

bool V8ContextImpl::Exit() {
  auto& stack = EngineRuntime::Get().contextStack();
  if (stack.empty() || stack.back().get() != this) return false;
  stack.pop_back();
  return true;
}

namespace {

class V8ExceptionImpl final : public CefV8Exception {
 public:
  explicit V8ExceptionImpl(std::string message) : message_(std::move(message)) {}
  CefString GetMessage() override { return message_; }

 private:
  std::string message_;
  IMPLEMENT_REFCOUNTING(V8ExceptionImpl);
};

// A primitive the page returned by value.
CefRefPtr<CefV8Value> ValueFromRemote(const nlohmann::json& remote) {
  const std::string type = remote.value("type", "undefined");
  const auto value = remote.find("value");
  if (type == "boolean" && value != remote.end()) return CefV8Value::CreateBool(value->get<bool>());
  if (type == "string" && value != remote.end()) return CefV8Value::CreateString(value->get<std::string>());
  if (type == "number" && value != remote.end() && value->is_number()) {
    const double number = value->get<double>();
    if (std::floor(number) == number && number >= INT32_MIN && number <= INT32_MAX)
      return CefV8Value::CreateInt(static_cast<int32_t>(number));
    return CefV8Value::CreateDouble(number);
  }
  if (type == "object" && remote.value("subtype", "") == "null") return CefV8Value::CreateNull();
  return CefV8Value::CreateUndefined();
}

}  // namespace

bool V8ContextImpl::Eval(const CefString& code, const CefString&, int, CefRefPtr<CefV8Value>& retval,
                         CefRefPtr<CefV8Exception>& exception) {
  if (!valid_) return false;
  const auto answer =
      browser_->Call("Runtime.evaluate", {{"expression", code.ToString()}, {"contextId", id_}, {"returnByValue", true}});
  if (!answer) return false;
  if (answer->contains("exceptionDetails")) {
    const auto& details = (*answer)["exceptionDetails"];
    std::string message = details.value("text", "");
    if (details.contains("exception")) message = details["exception"].value("description", message);
    exception = new V8ExceptionImpl(message);
    return false;
  }
  retval = ValueFromRemote(answer->value("result", nlohmann::json::object()));
  return true;
}

// --- the current context ----------------------------------------------------

CefRefPtr<CefV8Context> CefV8Context::GetCurrentContext() {
  auto& stack = EngineRuntime::Get().contextStack();
  return stack.empty() ? nullptr : stack.back();
}

CefRefPtr<CefV8Context> CefV8Context::GetEnteredContext() { return GetCurrentContext(); }

bool CefV8Context::InContext() { return !EngineRuntime::Get().contextStack().empty(); }
