#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>
#include <utility>

#include "engine/image/frame_difference.h"
#include "engine/net/base64.h"
#include "engine/runtime/engine_objects.h"
#include "engine/runtime/engine_runtime.h"
#include "engine/runtime/net_errors.h"
#include "engine/runtime/page_stub.h"
#include "engine/runtime/v8_values.h"

using Json = nlohmann::json;

BrowserImpl::BrowserImpl(int id, std::string targetId, std::string sessionId, CefRefPtr<CefClient> client,
                         const CefBrowserSettings& settings, HWND parent)
    : id_(id),
      targetId_(std::move(targetId)),
      sessionId_(std::move(sessionId)),
      client_(client),
      settings_(settings),
      parent_(parent) {
  // The main frame's id is the target's id.
  frames_[targetId_] = new FrameImpl(this, targetId_, std::string());
}

void BrowserImpl::Send(const std::string& method, Json params) {
  if (CdpConnection* connection = EngineRuntime::Get().connection(); connection && !closed_)
    connection->Send(method, std::move(params), sessionId_);
}

std::optional<Json> BrowserImpl::Call(const std::string& method, Json params) {
  CdpConnection* connection = EngineRuntime::Get().connection();
  if (!connection || closed_) return std::nullopt;
  return connection->Call(method, std::move(params), sessionId_);
}

CefRefPtr<FrameImpl> BrowserImpl::FrameById(const std::string& id) {
  const auto found = frames_.find(id);
  return found == frames_.end() ? nullptr : found->second;
}

CefRefPtr<CefFrame> BrowserImpl::GetMainFrame() { return FrameById(targetId_).get(); }

CefRefPtr<CefLoadHandler> BrowserImpl::LoadHandler() { return client_ ? client_->GetLoadHandler() : nullptr; }

// --- set-up -------------------------------------------------------------------

bool BrowserImpl::Start(const std::string& url) {
  if (!Call("Page.enable") || !Call("Network.enable") || !Call("Runtime.addBinding", {{"name", kBindingName}}))
    return false;
  InstallNewDocumentScript();
  if (CefColorGetA(settings_.background_color) == 0 &&
      CefColorGetA(EngineRuntime::Get().settings().background_color) == 0) {
    Call("Emulation.setDefaultBackgroundColorOverride", {{"color", {{"r", 0}, {"g", 0}, {"b", 0}, {"a", 0}}}});
  }
  // The page is shown in the host's window, not in a browser window of its
  // own: it keeps focus (caret, key and IME input) whatever else the browser shows.
  Call("Emulation.setFocusEmulationEnabled", {{"enabled", true}});
  ApplyViewSize();
  if (!Call("Runtime.enable")) return false;
  // The blank page's context is told to the renderer side now, so that the
  // functions it defines exist in the real page before the page's scripts run.
  EngineRuntime::Get().connection()->DispatchPending();
  // The blank page the target starts with is not a load the client asked for.
  navigating_ = true;
  loading_ = true;
  CefRefPtr<BrowserImpl> self = this;
  EngineRuntime::Get().connection()->Send(
      "Page.navigate", {{"url", url}}, sessionId_, [self, url](const Json& result, const Json* error) {
        std::string failure = result.value("errorText", "");
        if (error) failure = error->value("message", "net::ERR_FAILED");
        if (!failure.empty()) self->OnLoadFailed(self->targetId_, failure, url);
      });
  return true;
}

void BrowserImpl::InstallNewDocumentScript() {
  if (!newDocumentScript_.empty())
    Send("Page.removeScriptToEvaluateOnNewDocument", {{"identifier", newDocumentScript_}});
  const auto added = Call("Page.addScriptToEvaluateOnNewDocument", {{"source", PageStubSource(functionNames_)}});
  newDocumentScript_ = added ? added->value("identifier", "") : "";
}

void BrowserImpl::ApplyViewSize() {
  CefRect rect;
  CefRefPtr<CefRenderHandler> render = client_ ? client_->GetRenderHandler() : nullptr;
  if (render) render->GetViewRect(this, rect);
  viewWidth_ = rect.width > 0 ? rect.width : 1;
  viewHeight_ = rect.height > 0 ? rect.height : 1;
  // A zoom level is a factor of 1.2 per step; the page is laid out smaller
  // and drawn at that scale, so frames keep the view's pixel size.
  const double zoom = std::pow(1.2, zoomLevel_);
  Send("Emulation.setDeviceMetricsOverride",
       {{"width", static_cast<int>(std::lround(viewWidth_ / zoom))},
        {"height", static_cast<int>(std::lround(viewHeight_ / zoom))},
        {"deviceScaleFactor", zoom},
        {"mobile", false}});
  if (!render) return;
  Send("Page.stopScreencast");
  Send("Page.startScreencast",
       {{"format", "png"}, {"everyNthFrame", 1}, {"maxWidth", viewWidth_}, {"maxHeight", viewHeight_}});
}

void BrowserImpl::WasResized() { ApplyViewSize(); }

void BrowserImpl::SetZoomLevel(double zoomLevel) {
  if (zoomLevel == zoomLevel_) return;
  zoomLevel_ = zoomLevel;
  ApplyViewSize();
}

void BrowserImpl::WasHidden(bool) {}

void BrowserImpl::Invalidate(cef_paint_element_type_t) { ApplyViewSize(); }

void BrowserImpl::SetWindowlessFrameRate(int frame_rate) { settings_.windowless_frame_rate = frame_rate; }

void BrowserImpl::SetFocus(bool focus) {
  if (focus) Send("Page.bringToFront");
}

void BrowserImpl::Reload() { Send("Page.reload"); }

// --- events -------------------------------------------------------------------

void BrowserImpl::HandleEvent(const std::string& method, const Json& params) {
  if (method == "Runtime.bindingCalled") {
    OnBindingCalled(params);
  } else if (method == "Page.screencastFrame") {
    OnScreencastFrame(params);
  } else if (method == "Runtime.executionContextCreated") {
    OnContextCreated(params.value("context", Json::object()));
  } else if (method == "Runtime.executionContextDestroyed") {
    OnContextDestroyed(params.value("executionContextId", 0));
  } else if (method == "Runtime.executionContextsCleared") {
    std::vector<int> ids;
    for (const auto& [id, context] : contexts_) ids.push_back(id);
    for (int id : ids) OnContextDestroyed(id);
  } else if (method == "Page.frameAttached") {
    const std::string id = params.value("frameId", "");
    if (!frames_.count(id)) frames_[id] = new FrameImpl(this, id, params.value("parentFrameId", ""));
  } else if (method == "Page.frameNavigated") {
    if (navigating_) OnFrameNavigated(params.value("frame", Json::object()));
  } else if (method == "Page.frameDetached") {
    const auto found = frames_.find(params.value("frameId", ""));
    if (found != frames_.end() && found->first != targetId_) {
      found->second->Invalidate();
      frames_.erase(found);
    }
  } else if (method == "Page.frameStoppedLoading" && navigating_) {
    const std::string id = params.value("frameId", "");
    if (id == targetId_) loading_ = false;
    CefRefPtr<FrameImpl> frame = FrameById(id);
    CefRefPtr<CefLoadHandler> load = LoadHandler();
    if (frame && load) {
      const auto status = documentStatus_.find(id);
      load->OnLoadEnd(this, frame.get(), status == documentStatus_.end() ? 0 : status->second);
    }
  } else if (method == "Network.requestWillBeSent") {
    if (params.value("type", "") == "Document")
      documentRequests_[params.value("requestId", "")] = {params.value("frameId", ""),
                                                          params["request"].value("url", "")};
  } else if (method == "Network.responseReceived") {
    if (params.value("type", "") == "Document")
      documentStatus_[params.value("frameId", "")] = params["response"].value("status", 0);
  } else if (method == "Network.loadingFinished") {
    documentRequests_.erase(params.value("requestId", ""));
  } else if (method == "Network.loadingFailed") {
    const auto request = documentRequests_.find(params.value("requestId", ""));
    if (request != documentRequests_.end()) {
      const auto [frameId, url] = request->second;
      documentRequests_.erase(request);
      // The main frame's failure is told by its navigation's answer.
      if (frameId != targetId_ && !params.value("canceled", false))
        OnLoadFailed(frameId, params.value("errorText", "net::ERR_FAILED"), url);
    }
  } else if (method == "Page.windowOpen") {
    // window.open or a link with a target: the client decides; a popup is never shown.
    CefRefPtr<CefLifeSpanHandler> lifeSpan = client_ ? client_->GetLifeSpanHandler() : nullptr;
    if (lifeSpan)
      lifeSpan->OnBeforePopup(this, GetMainFrame(), params.value("url", ""), params.value("windowName", ""),
                              WOD_NEW_POPUP, params.value("userGesture", false));
  } else if (method == "Inspector.detached" || method == "Inspector.targetCrashed") {
    Closed();
  }
}

void BrowserImpl::HandleTargetEvent(const std::string& method, const Json& params) {
  const Json info = params.value("targetInfo", Json::object());
  if (method == "Target.targetInfoChanged" && info.value("targetId", "") == targetId_) {
    const std::string title = info.value("title", "");
    if (title != title_) {
      title_ = title;
      CefRefPtr<CefDisplayHandler> display = client_ ? client_->GetDisplayHandler() : nullptr;
      if (display) display->OnTitleChange(this, title);
    }
  } else if (method == "Target.targetCreated" && info.value("openerId", "") == targetId_) {
    // A window this page opened: there is nowhere to show it, whatever the
    // client decided (Page.windowOpen asked it).
    if (CdpConnection* connection = EngineRuntime::Get().connection())
      connection->Send("Target.closeTarget", {{"targetId", info.value("targetId", "")}});
  } else if ((method == "Target.targetDestroyed" && params.value("targetId", "") == targetId_) ||
             (method == "Target.detachedFromTarget" && params.value("sessionId", "") == sessionId_)) {
    Closed();
  }
}

void BrowserImpl::OnFrameNavigated(const Json& frameInfo) {
  const std::string id = frameInfo.value("id", "");
  CefRefPtr<FrameImpl> frame = FrameById(id);
  if (!frame) frame = frames_[id] = new FrameImpl(this, id, frameInfo.value("parentId", ""));
  frame->SetNavigated(frameInfo.value("url", "") + frameInfo.value("urlFragment", ""), frameInfo.value("name", ""));
  if (id == targetId_) loading_ = true;
  if (CefRefPtr<CefLoadHandler> load = LoadHandler()) load->OnLoadStart(this, frame.get(), TT_EXPLICIT);
}

void BrowserImpl::OnLoadFailed(const std::string& frameId, const std::string& errorText, const std::string& url) {
  if (frameId == targetId_) loading_ = false;
  CefRefPtr<FrameImpl> frame = FrameById(frameId);
  CefRefPtr<CefLoadHandler> load = LoadHandler();
  if (frame && load) load->OnLoadError(this, frame.get(), NetErrorCode(errorText), errorText, url);
}

void BrowserImpl::OnContextCreated(const Json& context) {
  const Json aux = context.value("auxData", Json::object());
  if (!aux.value("isDefault", false)) return;  // the page's own world only, not isolated or extension worlds
  CefRefPtr<FrameImpl> frame = FrameById(aux.value("frameId", ""));
  if (!frame) return;
  CefRefPtr<V8ContextImpl> created = new V8ContextImpl(this, frame, context.value("id", 0));
  contexts_[created->id()] = created;
  frame->SetContext(created);
  if (CefRefPtr<CefRenderProcessHandler> handler = EngineRuntime::Get().RenderHandler())
    handler->OnContextCreated(this, frame.get(), created.get());
}

void BrowserImpl::OnContextDestroyed(int contextId) {
  const auto found = contexts_.find(contextId);
  if (found == contexts_.end()) return;
  CefRefPtr<V8ContextImpl> context = found->second;
  contexts_.erase(found);
  context->Invalidate();
  for (auto function = functions_.begin(); function != functions_.end();)
    function = function->first.first == contextId ? functions_.erase(function) : std::next(function);
  if (CefRefPtr<CefRenderProcessHandler> handler = EngineRuntime::Get().RenderHandler())
    handler->OnContextReleased(this, context->GetFrame(), context.get());
}

// --- native functions in the page ----------------------------------------------

void BrowserImpl::DefineFunction(int contextId, const std::string& name, CefRefPtr<CefV8Handler> handler) {
  functions_[{contextId, name}] = handler;
  Send("Runtime.evaluate", {{"expression", PageStubSource({name})}, {"contextId", contextId}});
  // Later documents get the function before their own scripts run.
  if (std::find(functionNames_.begin(), functionNames_.end(), name) == functionNames_.end()) {
    functionNames_.push_back(name);
    InstallNewDocumentScript();
  }
}

void BrowserImpl::OnBindingCalled(const Json& params) {
  if (params.value("name", "") != kBindingName) return;
  const Json payload = Json::parse(params.value("payload", ""), nullptr, false);
  if (!payload.is_object()) return;
  const std::string kind = payload.value("k", "");
  const int contextId = params.value("executionContextId", 0);
  if (kind == "call") {
    OnFunctionCalled(contextId, payload);
  } else if (kind == "cursor") {
    OnCursorReport(payload.value("c", "default"));
  } else if (kind == "contextmenu") {
    const auto context = contexts_.find(contextId);
    OnContextMenuReport(context != contexts_.end() ? context->second->GetFrame()->GetIdentifierString().ToString()
                                                   : targetId_,
                        payload);
  }
}

void BrowserImpl::OnFunctionCalled(int contextId, const Json& call) {
  const std::string name = call.value("f", "");
  const auto function = functions_.find({contextId, name});
  const auto context = contexts_.find(contextId);
  if (function == functions_.end() || context == contexts_.end()) return;
  CefV8ValueList arguments;
  for (const Json& described : call.value("a", Json::array()))
    arguments.push_back(V8ValueImpl::FromPage(described, context->second.get()).get());
  CefRefPtr<CefV8Handler> handler = function->second;
  CefRefPtr<CefV8Value> retval;
  CefString exception;
  context->second->Enter();
  handler->Execute(name, context->second->GetGlobal(), arguments, retval, exception);
  context->second->Exit();
}

void BrowserImpl::ReleasePageFunction(int contextId, int64_t handle) {
  Send("Runtime.callFunctionOn", {{"functionDeclaration", kReleaseFunctionDeclaration},
                                  {"executionContextId", contextId},
                                  {"arguments", Json::array({{{"value", handle}}})}});
}

// --- frames -------------------------------------------------------------------

void BrowserImpl::OnScreencastFrame(const Json& params) {
  // The browser sends the next frame once this one is acknowledged; pacing the
  // acknowledgements keeps to the frame rate. Acknowledging before this frame
  // is decoded and shown lets the browser make the next one meanwhile.
  pendingAck_ = params.value("sessionId", 0);
  AckDueFrame();

  CefRefPtr<CefRenderHandler> render = client_ ? client_->GetRenderHandler() : nullptr;
  std::string png;
  int width = 0, height = 0;
  std::swap(pixels_, previousPixels_);
  if (render && Base64Decode(params.value("data", ""), png) &&
      decoder_.Decode(reinterpret_cast<const uint8_t*>(png.data()), png.size(), pixels_, width, height)) {
    // Like the framework, report only what changed, and nothing at all for a
    // frame the same as the one before.
    std::optional<CefRect> dirty = CefRect(0, 0, width, height);
    if (width == previousWidth_ && height == previousHeight_) {
      dirty = ChangedArea(previousPixels_.data(), pixels_.data(), width, height);
    }
    if (dirty) render->OnPaint(this, PET_VIEW, {*dirty}, pixels_.data(), width, height);
    previousWidth_ = width;
    previousHeight_ = height;
  } else {
    previousWidth_ = previousHeight_ = 0;
  }
}

void BrowserImpl::AckDueFrame() {
  if (pendingAck_ < 0 || closed_) return;
  const int rate = settings_.windowless_frame_rate > 0 ? std::min(settings_.windowless_frame_rate, 60) : 30;
  // A steady clock, not the tick count, which moves in steps of 15.6 ms on
  // Windows. Each acknowledgement is due one interval after the previous one
  // was due, not after it was sent, so a late wake-up (timers are coarse too)
  // is made up by the next frame and the rate holds on average. After a pause
  // the schedule starts again from now: one frame may come early, never a
  // burst of them catching up.
  const auto interval = std::chrono::microseconds(1000000 / rate);
  const auto now = std::chrono::steady_clock::now();
  if (now < nextAckDue_) {
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(nextAckDue_ - now);
    EngineRuntime::Get().WakeAfter(static_cast<int>(wait.count()));
    return;
  }
  Send("Page.screencastFrameAck", {{"sessionId", pendingAck_}});
  pendingAck_ = -1;
  nextAckDue_ = std::max(nextAckDue_ + interval, now);
}

// --- closing ------------------------------------------------------------------

void BrowserImpl::CloseBrowser(bool) {
  if (closing_ || closed_) return;
  closing_ = true;
  CefRefPtr<CefLifeSpanHandler> lifeSpan = client_ ? client_->GetLifeSpanHandler() : nullptr;
  if (lifeSpan) lifeSpan->DoClose(this);
  if (CdpConnection* connection = EngineRuntime::Get().connection())
    connection->Send("Target.closeTarget", {{"targetId", targetId_}});
}

void BrowserImpl::OnConnectionLost() {
  if (closed_) return;
  if (!closing_) {
    closing_ = true;
    CefRefPtr<CefLifeSpanHandler> lifeSpan = client_ ? client_->GetLifeSpanHandler() : nullptr;
    if (lifeSpan) lifeSpan->DoClose(this);
  }
  Closed();
}

void BrowserImpl::Closed() {
  if (closed_) return;
  closed_ = true;
  for (auto& [id, context] : contexts_) context->Invalidate();
  for (auto& [id, frame] : frames_) frame->Invalidate();
  CefRefPtr<BrowserImpl> self = this;  // the handlers below may drop the last other reference
  CefRefPtr<CefLifeSpanHandler> lifeSpan = client_ ? client_->GetLifeSpanHandler() : nullptr;
  if (lifeSpan) lifeSpan->OnBeforeClose(this);
  EngineRuntime::Get().ForgetBrowser(sessionId_);
}
