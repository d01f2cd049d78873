#pragma once
// The layer's implementations of the browser, frame and script-context
// interfaces. A BrowserImpl is one page target of the browser, reached through
// a flattened DevTools session; its frames and script contexts follow the
// target's Page and Runtime events.

#include <chrono>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "engine/image/png_frame_decoder.h"
#include "engine/include/cef_app.h"
#include "engine/include/cef_client.h"

class BrowserImpl;
class V8ContextImpl;

class FrameImpl final : public CefFrame {
 public:
  FrameImpl(BrowserImpl* browser, std::string id, std::string parentId)
      : browser_(browser), id_(std::move(id)), parentId_(std::move(parentId)) {}

  bool IsValid() override { return valid_; }
  bool IsMain() override { return parentId_.empty(); }
  CefString GetName() override { return name_; }
  CefString GetIdentifierString() override { return id_; }
  CefString GetURL() override { return url_; }
  CefRefPtr<CefFrame> GetParent() override;
  CefRefPtr<CefBrowser> GetBrowser() override;
  CefRefPtr<CefV8Context> GetV8Context() override;
  void LoadURL(const CefString& url) override;
  void ExecuteJavaScript(const CefString& code, const CefString& script_url, int start_line) override;
  void SendProcessMessage(cef_process_id_t target_process, CefRefPtr<CefProcessMessage> message) override;
  void Undo() override { RunEditCommand("undo"); }
  void Redo() override { RunEditCommand("redo"); }
  void Cut() override { RunEditCommand("cut"); }
  void Copy() override { RunEditCommand("copy"); }
  void Paste() override { RunEditCommand("paste"); }
  void Delete() override { RunEditCommand("delete"); }
  void SelectAll() override { RunEditCommand("selectAll"); }

  const std::string& id() const { return id_; }
  void SetNavigated(const std::string& url, const std::string& name) { url_ = url, name_ = name; }
  void SetContext(CefRefPtr<V8ContextImpl> context);
  void Invalidate() { valid_ = false; }

 private:
  void RunEditCommand(const char* command);

  BrowserImpl* browser_;  // the browser keeps its frames; a frame does not keep it
  std::string id_;
  std::string parentId_;
  std::string url_;
  std::string name_;
  bool valid_ = true;
  CefRefPtr<V8ContextImpl> context_;
  IMPLEMENT_REFCOUNTING(FrameImpl);
};

class V8ContextImpl final : public CefV8Context {
 public:
  V8ContextImpl(BrowserImpl* browser, CefRefPtr<FrameImpl> frame, int id) : browser_(browser), frame_(frame), id_(id) {}

  bool IsValid() override { return valid_; }
  CefRefPtr<CefBrowser> GetBrowser() override;
  CefRefPtr<CefFrame> GetFrame() override { return frame_.get(); }
  CefRefPtr<CefV8Value> GetGlobal() override;
  bool Enter() override;
  bool Exit() override;
  bool IsSame(CefRefPtr<CefV8Context> that) override { return that.get() == this; }
  bool Eval(const CefString& code, const CefString& script_url, int start_line, CefRefPtr<CefV8Value>& retval,
            CefRefPtr<CefV8Exception>& exception) override;

  int id() const { return id_; }
  BrowserImpl* browser() const { return browser_; }
  void Invalidate() { valid_ = false; }

 private:
  BrowserImpl* browser_;
  CefRefPtr<FrameImpl> frame_;
  int id_;
  bool valid_ = true;
  IMPLEMENT_REFCOUNTING(V8ContextImpl);
};

class BrowserImpl final : public CefBrowser, public CefBrowserHost {
 public:
  using Json = nlohmann::json;

  BrowserImpl(int id, std::string targetId, std::string sessionId, CefRefPtr<CefClient> client,
              const CefBrowserSettings& settings, HWND parent);

  // CefBrowser
  CefRefPtr<CefBrowserHost> GetHost() override { return this; }
  int GetIdentifier() override { return id_; }
  bool IsSame(CefRefPtr<CefBrowser> that) override { return that.get() == static_cast<CefBrowser*>(this); }
  bool IsLoading() override { return loading_; }
  void Reload() override;
  CefRefPtr<CefFrame> GetMainFrame() override;
  CefRefPtr<CefFrame> GetFocusedFrame() override { return GetMainFrame(); }

  // CefBrowserHost
  CefRefPtr<CefBrowser> GetBrowser() override { return this; }
  void CloseBrowser(bool force_close) override;
  HWND GetWindowHandle() override { return parent_; }
  CefRefPtr<CefClient> GetClient() override { return client_; }
  void SetFocus(bool focus) override;
  double GetZoomLevel() override { return zoomLevel_; }
  void SetZoomLevel(double zoomLevel) override;
  void WasResized() override;
  void WasHidden(bool hidden) override;
  void Invalidate(cef_paint_element_type_t type) override;
  void SetWindowlessFrameRate(int frame_rate) override;
  void ShowDevTools(const CefWindowInfo&, CefRefPtr<CefClient>, const CefBrowserSettings&, const CefPoint&) override {}
  void SendKeyEvent(const CefKeyEvent& event) override;
  void SendMouseClickEvent(const CefMouseEvent& event, cef_mouse_button_type_t type, bool mouseUp,
                           int clickCount) override;
  void SendMouseMoveEvent(const CefMouseEvent& event, bool mouseLeave) override;
  void SendMouseWheelEvent(const CefMouseEvent& event, int deltaX, int deltaY) override;
  void SendCaptureLostEvent() override;
  void ImeSetComposition(const CefString& text, const std::vector<CefCompositionUnderline>& underlines,
                         const CefRange& replacement_range, const CefRange& selection_range) override;
  void ImeCommitText(const CefString& text, const CefRange& replacement_range, int relative_cursor_pos) override;
  void ImeFinishComposingText(bool keep_selection) override;
  void ImeCancelComposition() override;

  // The layer's side.
  const std::string& targetId() const { return targetId_; }
  const std::string& sessionId() const { return sessionId_; }
  bool closed() const { return closed_; }
  // Sets the page up and starts loading the address (browser creation).
  bool Start(const std::string& url);
  void HandleEvent(const std::string& method, const Json& params);
  void HandleTargetEvent(const std::string& method, const Json& params);  // browser-wide Target.* events
  void OnConnectionLost();
  void AckDueFrame();  // the paced screencast acknowledgement, when its time has come
  // Sends a command in this page's session.
  void Send(const std::string& method, Json params = Json::object());
  std::optional<Json> Call(const std::string& method, Json params = Json::object());
  // A native function set on a context's global object: the page gets a function of that name.
  void DefineFunction(int contextId, const std::string& name, CefRefPtr<CefV8Handler> handler);
  CefRefPtr<FrameImpl> FrameById(const std::string& id);
  void ReleasePageFunction(int contextId, int64_t handle);

 private:
  void OnContextCreated(const Json& context);
  void OnContextDestroyed(int contextId);
  void OnBindingCalled(const Json& params);
  void OnFunctionCalled(int contextId, const Json& call);
  void OnScreencastFrame(const Json& params);
  void OnCursorReport(const std::string& cssCursor);
  void OnContextMenuReport(const std::string& frameId, const Json& report);
  void OnFrameNavigated(const Json& frame);
  void OnLoadFailed(const std::string& frameId, const std::string& errorText, const std::string& url);
  void Closed();
  void ApplyViewSize();
  void InstallNewDocumentScript();
  void DispatchMouse(const char* type, const CefMouseEvent& event, const char* button, int buttons, int clickCount,
                     int deltaX = 0, int deltaY = 0);
  CefRefPtr<CefLoadHandler> LoadHandler();
  // Asks the page where the composition's characters are; the answer goes to OnImeCompositionRangeChanged.
  void MeasureComposition(uint32_t length, uint32_t selectionFrom);

  int id_;
  std::string targetId_;
  std::string sessionId_;
  CefRefPtr<CefClient> client_;
  CefBrowserSettings settings_;
  HWND parent_;

  std::map<std::string, CefRefPtr<FrameImpl>> frames_;  // by frame id; the main frame's id is the target id
  std::map<int, CefRefPtr<V8ContextImpl>> contexts_;    // default contexts by id
  std::map<std::pair<int, std::string>, CefRefPtr<CefV8Handler>> functions_;  // (context, name) -> native code
  std::vector<std::string> functionNames_;              // defined in new documents before their scripts run
  std::string newDocumentScript_;                       // identifier of the installed stub
  std::map<std::string, int> documentStatus_;           // frame id -> HTTP status of its document
  std::map<std::string, std::pair<std::string, std::string>> documentRequests_;  // request id -> (frame, url)

  int viewWidth_ = 0, viewHeight_ = 0;
  double zoomLevel_ = 0.0;
  bool navigating_ = false;  // set once the client's address starts loading
  bool loading_ = false;
  bool closing_ = false;
  bool closed_ = false;
  std::string title_;
  int pressedButtons_ = 0;
  std::string compositionText_;  // the IME composition shown in the page, not committed yet
  uint64_t compositionChange_ = 0;  // counts composition changes; a measurement of an older one is dropped

  PngFrameDecoder decoder_;
  std::vector<uint8_t> pixels_;          // the frame being handed to the render handler
  std::vector<uint8_t> previousPixels_;  // the one before it, to find what changed
  int previousWidth_ = 0, previousHeight_ = 0;  // 0 when there is no usable previous frame
  int pendingAck_ = -1;             // screencast frame waiting for its acknowledgement
  std::chrono::steady_clock::time_point nextAckDue_{};  // the earliest time for the next acknowledgement
  IMPLEMENT_REFCOUNTING(BrowserImpl);
};
