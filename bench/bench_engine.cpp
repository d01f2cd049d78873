#include "bench/bench_engine.h"

#include <windows.h>

#include <cstdio>

#include "browser/web_app.h"
#include "engine/include/cef_app.h"

bool StartBenchEngine() {
  CefRefPtr<WebApp> app = new WebApp();
  CefSettings settings;
  settings.no_sandbox = 1;
  settings.windowless_rendering_enabled = 1;
  if (CefInitialize(CefMainArgs(GetModuleHandleW(nullptr)), settings, app.get(), nullptr)) return true;
  fprintf(stderr, "no browser could be started (TARNWICK_BROWSER)\n");
  return false;
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  while (!done()) {
    if (GetTickCount64() >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    CefDoMessageLoopWork();
  }
  return true;
}
