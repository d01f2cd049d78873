#include "bench/tool_process_clock.h"

#include <cstring>

#include "bench/bench_table.h"

namespace {

double Milliseconds(const FILETIME& time) {
  return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e4;
}

bool IsConsoleHost(HANDLE process) {
  char path[MAX_PATH] = {};
  DWORD length = sizeof(path);
  if (!QueryFullProcessImageNameA(process, 0, path, &length)) return false;
  const char* name = strrchr(path, '\\');
  return _stricmp(name ? name + 1 : path, "conhost.exe") == 0;
}

// The completion key that tells the watcher to stop.
constexpr ULONG_PTR kStop = 0;
constexpr ULONG_PTR kJob = 1;

}  // namespace

ToolProcessClock::ToolProcessClock()
    : job_(CreateJobObjectA(nullptr, nullptr)), port_(CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1)) {
  if (!job_ || !port_) return;
  JOBOBJECT_ASSOCIATE_COMPLETION_PORT association{};
  association.CompletionKey = reinterpret_cast<PVOID>(kJob);
  association.CompletionPort = port_.Get();
  if (!SetInformationJobObject(job_.Get(), JobObjectAssociateCompletionPortInformation, &association,
                               sizeof(association))) {
    return;
  }
  watcher_ = std::thread([this] { Watch(); });
  working_ = AssignProcessToJobObject(job_.Get(), GetCurrentProcess()) != FALSE;
}

ToolProcessClock::~ToolProcessClock() {
  if (!watcher_.joinable()) return;
  PostQueuedCompletionStatus(port_.Get(), 0, kStop, nullptr);
  watcher_.join();
}

void ToolProcessClock::Watch() {
  for (;;) {
    DWORD message = 0;
    ULONG_PTR key = 0;
    OVERLAPPED* detail = nullptr;
    if (!GetQueuedCompletionStatus(port_.Get(), &message, &key, &detail, INFINITE) || key == kStop) return;
    // For these messages the "overlapped" pointer carries the process id.
    const DWORD processId = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(detail));
    if (message == JOB_OBJECT_MSG_NEW_PROCESS) OnNew(processId);
    if (message == JOB_OBJECT_MSG_EXIT_PROCESS || message == JOB_OBJECT_MSG_ABNORMAL_EXIT_PROCESS) OnEnd(processId);
  }
}

void ToolProcessClock::OnNew(DWORD processId) {
  if (processId == GetCurrentProcessId()) return;
  WinHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return;
  const std::lock_guard<std::mutex> lock(mutex_);
  running_[processId] = std::move(process);
}

void ToolProcessClock::OnEnd(DWORD processId) {
  const std::lock_guard<std::mutex> lock(mutex_);
  const auto found = running_.find(processId);
  if (found == running_.end()) return;
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(found->second.Get(), &created, &exited, &kernel, &user)) {
    running_.erase(found);
    return;
  }
  // Opened late, after its id had passed to a newer process: that one's end comes later.
  if (Milliseconds(exited) < Milliseconds(created)) return;
  // By its end the process's image name is known (not always at its start).
  if (!IsConsoleHost(found->second.Get())) ended_.push_back(Milliseconds(exited) - Milliseconds(created));
  running_.erase(found);
}

std::vector<double> ToolProcessClock::TakeEnded(size_t expected) {
  const double deadline = NowMs() + 1000.0;
  for (;;) {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      if (ended_.size() >= expected || NowMs() >= deadline || !working_) {
        std::vector<double> taken;
        taken.swap(ended_);
        return taken;
      }
    }
    Sleep(1);
  }
}
