// Page -> native -> page round trip through the browser layer alone: the page
// calls js_api_cross_call 1,000 times in a chain, each answered at once by a
// browser-side handler, and times each call from the call to its callback.
//
//   scripts/bench            (or: scripts/wine build/bench/bridge_roundtrip_bench.exe)

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "bench/bench_engine.h"
#include "bridge/script_messages.h"
#include "engine/include/cef_app.h"
#include "engine/include/cef_client.h"

namespace {

constexpr int kCalls = 1000;

class AnsweringClient : public CefClient, public CefRenderHandler, public CefLoadHandler {
 public:
  CefRefPtr<CefRenderHandler> GetRenderHandler() override { return this; }
  CefRefPtr<CefLoadHandler> GetLoadHandler() override { return this; }
  void GetViewRect(CefRefPtr<CefBrowser>, CefRect& rect) override { rect = CefRect(0, 0, 200, 100); }
  void OnPaint(CefRefPtr<CefBrowser>, cef_paint_element_type_t, const std::vector<CefRect>&, const void*, int,
               int) override {}
  void OnLoadEnd(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame> frame, int) override {
    if (frame->IsMain()) loaded = true;
  }

  bool OnProcessMessageReceived(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame> frame, cef_process_id_t,
                                CefRefPtr<CefProcessMessage> message) override {
    CefRefPtr<CefListValue> list = message->GetArgumentList();
    const int id = list->GetInt(0);
    if (id == 0) {  // the page's final report
      result = list->GetString(1).ToString();
      return true;
    }
    CefRefPtr<CefProcessMessage> reply = CefProcessMessage::Create(ScriptMessage::kReply);
    reply->GetArgumentList()->SetInt(0, id);
    reply->GetArgumentList()->SetString(1, "{\"code\":200}");
    frame->SendProcessMessage(PID_RENDERER, reply);
    return true;
  }

  bool loaded = false;
  std::string result;

 private:
  IMPLEMENT_REFCOUNTING(AnsweringClient);
};

double Percentile(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  const size_t index = std::min(values.size() - 1, static_cast<size_t>(share * static_cast<double>(values.size())));
  return values[index];
}

const char kPage[] =
    "data:text/html,<script>"
    "const times = [];"
    "function call(n) {"
    "  const start = performance.now();"
    "  js_api_cross_call('{\"func\":\"desktop_size\",\"tag\":1}', () => {"
    "    times.push(performance.now() - start);"
    "    if (n > 1) call(n - 1); else js_api_cross_call(JSON.stringify(times));"
    "  });"
    "}"
    "window.run = (n) => call(n);"
    "</script>";

}  // namespace

int main() {
  if (!StartBenchEngine()) return 1;
  CefRefPtr<AnsweringClient> client = new AnsweringClient();
  CefWindowInfo window;
  window.SetAsWindowless(nullptr);
  CefRefPtr<CefBrowser> browser =
      CefBrowserHost::CreateBrowserSync(window, client.get(), kPage, CefBrowserSettings(), nullptr, nullptr);
  if (!browser || !PumpUntil([&] { return client->loaded; }, 20000)) {
    fprintf(stderr, "the page did not load\n");
    return 1;
  }
  const auto reported = [&] { return !client->result.empty(); };
  browser->GetMainFrame()->ExecuteJavaScript("run(50)", "", 0);  // warm-up
  PumpUntil(reported, 20000);
  client->result.clear();

  browser->GetMainFrame()->ExecuteJavaScript("times.length = 0; run(" + std::to_string(kCalls) + ")", "", 0);
  PumpUntil(reported, 120000);
  const auto times = nlohmann::json::parse(client->result, nullptr, false);
  if (!times.is_array() || times.empty()) {
    fprintf(stderr, "the page reported no times\n");
    return 1;
  }
  std::vector<double> values = times.get<std::vector<double>>();
  printf("| bridge round trip (layer only), %zu calls | median <= 1 ms | median %.3f ms, p95 %.3f ms |\n",
         values.size(), Percentile(values, 0.5), Percentile(values, 0.95));
  browser->GetHost()->CloseBrowser(true);
  CefShutdown();
  return 0;
}
