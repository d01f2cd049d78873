// Frames of an animating 1400 x 720 page presented on a layered window the
// way the window program does it (engine frame -> LayeredSurface -> per-pixel
// alpha), and frames while the page is idle. Prints presented frames per
// second and this process's processor time per frame (user + kernel).
//
//   scripts/bench     (needs a display: scripts/bench starts Xvfb when there is none)

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_engine.h"
#include "browser/layered_surface.h"
#include "engine/include/cef_app.h"
#include "engine/include/cef_client.h"

namespace {

constexpr int kWidth = 1400;
constexpr int kHeight = 720;
constexpr int kMeasureMs = 10000;

class PresentingClient : public CefClient, public CefRenderHandler, public CefLoadHandler {
 public:
  explicit PresentingClient(HWND window) { surface_.Attach(window); }
  CefRefPtr<CefRenderHandler> GetRenderHandler() override { return this; }
  CefRefPtr<CefLoadHandler> GetLoadHandler() override { return this; }
  void GetViewRect(CefRefPtr<CefBrowser>, CefRect& rect) override { rect = CefRect(0, 0, kWidth, kHeight); }
  void OnPaint(CefRefPtr<CefBrowser>, cef_paint_element_type_t, const std::vector<CefRect>& dirtyRects,
               const void* buffer, int width, int height) override {
    surface_.Paint(dirtyRects, buffer, width, height);
    surface_.Present();
    ++frames;
  }
  void OnLoadEnd(CefRefPtr<CefBrowser>, CefRefPtr<CefFrame> frame, int) override {
    if (frame->IsMain()) loaded = true;
  }

  int frames = 0;
  bool loaded = false;

 private:
  LayeredSurface surface_;
  IMPLEMENT_REFCOUNTING(PresentingClient);
};

double ProcessorSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto seconds = [](const FILETIME& t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

// A card with a moving, half-transparent gradient bar and a spinner: every
// frame changes a large part of the page.
const char kAnimatingPage[] =
    "data:text/html,<style>html,body{margin:0;background:transparent}"
    ".card{position:absolute;inset:12px;border-radius:12px;background:%23f5f7fa;box-shadow:0 4px 16px rgba(0,0,0,.3)}"
    ".bar{position:absolute;left:0;top:200px;width:600px;height:200px;border-radius:20px;"
    "background:linear-gradient(90deg,rgba(0,120,200,.4),rgba(0,200,120,.9));animation:move 2s linear infinite}"
    "@keyframes move{from{transform:translateX(0)}to{transform:translateX(760px)}}</style>"
    "<div class=card><div class=bar></div></div>";

// Runs the engine for a while, whatever happens.
void PumpFor(int milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

}  // namespace

int main() {
  if (!StartBenchEngine()) return 1;
  HWND window = CreateWindowExW(WS_EX_LAYERED, L"STATIC", L"frames", WS_POPUP | WS_VISIBLE, 100, 100, kWidth,
                                kHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window) {
    fprintf(stderr, "no window (is there a display?)\n");
    return 1;
  }
  CefRefPtr<PresentingClient> client = new PresentingClient(window);
  CefWindowInfo info;
  info.SetAsWindowless(window);
  CefBrowserSettings browserSettings;
  browserSettings.windowless_frame_rate = 30;
  CefRefPtr<CefBrowser> browser =
      CefBrowserHost::CreateBrowserSync(info, client.get(), kAnimatingPage, browserSettings, nullptr, nullptr);
  if (!browser) return 1;
  PumpFor(3000);  // load and settle

  const int framesBefore = client->frames;
  const double cpuBefore = ProcessorSeconds();
  PumpFor(kMeasureMs);
  const int frames = client->frames - framesBefore;
  const double cpu = ProcessorSeconds() - cpuBefore;
  printf("| frames, animating %dx%d page: presented frames/s; processor time per frame | >= 30 /s; <= 5 ms "
         "| %.1f /s; %.2f ms |\n",
         kWidth, kHeight, frames * 1000.0 / kMeasureMs, frames ? cpu * 1000.0 / frames : 0.0);

  browser->GetMainFrame()->ExecuteJavaScript("document.querySelector('.bar').style.animation='none'", "", 0);
  PumpFor(1000);
  const int idleBefore = client->frames;
  PumpFor(5000);
  printf("| frames, idle page: presented in 5 s | none | %d |\n", client->frames - idleBefore);
  browser->GetHost()->CloseBrowser(true);
  CefShutdown();
  DestroyWindow(window);
  return 0;
}
