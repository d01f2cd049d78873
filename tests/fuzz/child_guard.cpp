#include "tests/fuzz/child_guard.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>

namespace {

// The one guard of the process: the crash handlers have no other way to it.
// It holds a fixed buffer so that they need no memory to report.
struct RunningCase {
  std::atomic<ULONGLONG> startedTick{0};  // 0: no case running
  char description[4096] = {};
};
RunningCase* g_running = nullptr;

void WriteOut(const char* prefix) {
  if (!g_running) return;
  char line[4300];
  const int length = std::snprintf(line, sizeof(line), "%s: %s\n", prefix, g_running->description);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, static_cast<DWORD>(length > 0 ? length : 0), &written, nullptr);
}

LONG WINAPI OnCrash(EXCEPTION_POINTERS* exception) {
  char prefix[64];
  std::snprintf(prefix, sizeof(prefix), "CRASH (exception 0x%08lx) in",
                exception ? exception->ExceptionRecord->ExceptionCode : 0ul);
  WriteOut(prefix);
  return EXCEPTION_EXECUTE_HANDLER;
}

void OnAbort(int) {
  WriteOut("ABORT in");
  _exit(kExitAbort);
}

void OnTerminate() {
  WriteOut("UNCAUGHT EXCEPTION in");
  _exit(kExitAbort);
}

DWORD WINAPI Watch(void* stopEvent) {
  while (WaitForSingleObject(stopEvent, 1000) == WAIT_TIMEOUT) {
    const ULONGLONG started = g_running->startedTick.load();
    if (started != 0 && GetTickCount64() - started > kHangSeconds * 1000ull) {
      char prefix[64];
      std::snprintf(prefix, sizeof(prefix), "HANG (still running after %u s) in", kHangSeconds);
      WriteOut(prefix);
      TerminateProcess(GetCurrentProcess(), kExitHang);
    }
  }
  return 0;
}

}  // namespace

CaseGuard::CaseGuard() : stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  static RunningCase running;
  g_running = &running;
  SetUnhandledExceptionFilter(OnCrash);
  std::signal(SIGABRT, OnAbort);
  std::set_terminate(OnTerminate);
  watcher_ = WinHandle(CreateThread(nullptr, 0, Watch, stop_.Get(), 0, nullptr));
}

CaseGuard::~CaseGuard() {
  SetEvent(stop_.Get());
  WaitForSingleObject(watcher_.Get(), INFINITE);
}

void CaseGuard::Begin(const std::string& description) {
  const size_t length = std::min(description.size(), sizeof(g_running->description) - 1);
  std::memcpy(g_running->description, description.data(), length);
  g_running->description[length] = '\0';
  g_running->startedTick = GetTickCount64();
}

void CaseGuard::End() { g_running->startedTick = 0; }

void Report(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

std::string Excerpt(const std::string& bytes, size_t limit) {
  std::string out;
  for (size_t i = 0; i < bytes.size() && i < limit; ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c >= 0x20 && c < 0x7F && c != '\\') {
      out.push_back(static_cast<char>(c));
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof(escaped), "\\x%02X", c);
      out += escaped;
    }
  }
  if (bytes.size() > limit) out += "... (" + std::to_string(bytes.size()) + " bytes)";
  return out;
}
