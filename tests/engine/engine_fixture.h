#pragma once
// One browser for the whole test program: the engine started once with the
// application's WebApp, and a small client that records what reaches the
// browser side.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/include/cef_app.h"
#include "engine/include/cef_client.h"

// A process message as the browser side received it, entries in readable form:
// i:<int> d:<double> b:<bool> s:<text> null
struct ReceivedMessage {
  std::string name;
  std::vector<std::string> entries;
  bool fromMainFrame = false;
};

class RecordingClient : public CefClient,
                        public CefRenderHandler,
                        public CefLoadHandler,
                        public CefDisplayHandler,
                        public CefContextMenuHandler,
                        public CefLifeSpanHandler {
 public:
  CefRefPtr<CefRenderHandler> GetRenderHandler() override { return this; }
  CefRefPtr<CefLoadHandler> GetLoadHandler() override { return this; }
  CefRefPtr<CefDisplayHandler> GetDisplayHandler() override { return this; }
  CefRefPtr<CefContextMenuHandler> GetContextMenuHandler() override { return this; }
  CefRefPtr<CefLifeSpanHandler> GetLifeSpanHandler() override { return this; }

  bool OnCursorChange(CefRefPtr<CefBrowser>, CefCursorHandle, cef_cursor_type_t type, const CefCursorInfo&) override {
    cursors.push_back(type);
    return true;
  }
  void OnBeforeContextMenu(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame>, CefRefPtr<CefContextMenuParams> params,
                           CefRefPtr<CefMenuModel> model) override {
    menus.push_back({params->GetTypeFlags(), model->GetCount()});
    model->Clear();
  }
  bool OnBeforePopup(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame>, const CefString& target_url, const CefString&,
                     cef_window_open_disposition_t, bool) override {
    popups.push_back(target_url.ToString());
    return true;
  }

  std::vector<cef_cursor_type_t> cursors;
  std::vector<std::pair<int, size_t>> menus;  // type flags, items offered
  std::vector<std::string> popups;

  bool OnProcessMessageReceived(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame,
                                cef_process_id_t source_process, CefRefPtr<CefProcessMessage> message) override;
  void GetViewRect(CefRefPtr<CefBrowser> browser, CefRect& rect) override;
  void OnPaint(CefRefPtr<CefBrowser> browser, cef_paint_element_type_t type, const std::vector<CefRect>& dirtyRects,
               const void* buffer, int width, int height) override;
  void OnLoadEnd(CefRefPtr<CefBrowser> browser, CefRefPtr<CefFrame> frame, int httpStatusCode) override;

  std::vector<ReceivedMessage> messages;
  std::vector<uint8_t> lastFrame;
  int frameWidth = 0, frameHeight = 0, frames = 0;
  int loadsEnded = 0;
  // When set, answers every "js_api_cross_call" at once (for the round-trip benchmark).
  std::function<void(CefRefPtr<CefFrame>, CefRefPtr<CefProcessMessage>)> onMessage;

 private:
  IMPLEMENT_REFCOUNTING(RecordingClient);
};

// Pumps window messages and the engine until done() or the time runs out.
bool RunUntil(const std::function<bool()>& done, int timeoutMs = 10000);

// The engine, started once for the program (see engine_environment.cpp).
struct EngineSession {
  static bool Ready();
  // The browser's remote debugging port (on the loopback).
  static int DebuggingPort();
  // A browser showing html (a data: address) with a fresh client.
  static CefRefPtr<CefBrowser> Open(const std::string& html, CefRefPtr<RecordingClient>& client);
};
