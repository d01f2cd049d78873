#include "tests/safety/watched_process.h"

#include <cstring>

#include "tests/common/pipe_drain.h"

namespace safety {

namespace {

// A job whose processes all end when its last handle closes.
WinHandle NewKillOnCloseJob() {
  WinHandle job(CreateJobObjectA(nullptr, nullptr));
  if (!job) return job;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits));
  return job;
}

struct Pipe {
  WinHandle read;
  WinHandle write;
};

// A pipe whose `childEnd` (read or write) is inheritable and the other not.
Pipe NewPipe(bool childReads) {
  SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  Pipe pipe;
  if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return pipe;
  pipe.read.Reset(readEnd);
  pipe.write.Reset(writeEnd);
  SetHandleInformation(childReads ? pipe.write.Get() : pipe.read.Get(), HANDLE_FLAG_INHERIT, 0);
  return pipe;
}

// Starts the line suspended, puts it into the job and lets it run. Under a
// loaded Wine a process start now and then fails for no reason of the
// program's; such a start is tried again a few times. `error` gets the last
// failure's code.
WinHandle StartInJob(const std::string& commandLine, const std::vector<std::string>& environment, HANDLE job,
                     STARTUPINFOA& startup, DWORD& error) {
  std::string block = EnvironmentBlock(environment);
  for (int attempt = 0; attempt < 5; ++attempt) {
    std::string mutableLine = commandLine;
    PROCESS_INFORMATION started{};
    // No console of its own: its standard handles are ours to give, and under
    // Wine a console would cost a console host process per run.
    if (CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS | CREATE_SUSPENDED,
                       block.empty() ? nullptr : block.data(), nullptr, &startup, &started)) {
      WinHandle thread(started.hThread);
      if (job) AssignProcessToJobObject(job, started.hProcess);
      ResumeThread(thread.Get());
      error = ERROR_SUCCESS;
      return WinHandle(started.hProcess);
    }
    error = GetLastError();
    Sleep(100);
  }
  return WinHandle();
}

}  // namespace

std::string EnvironmentBlock(const std::vector<std::string>& additions) {
  if (additions.empty()) return std::string();
  std::string block;
  char* current = GetEnvironmentStringsA();
  for (const char* entry = current; *entry; entry += strlen(entry) + 1) {
    bool overridden = false;
    for (const std::string& addition : additions) {
      const std::string key = addition.substr(0, addition.find('=') + 1);
      if (_strnicmp(entry, key.c_str(), key.size()) == 0) overridden = true;
    }
    if (!overridden) block.append(entry).push_back('\0');
  }
  FreeEnvironmentStringsA(current);
  for (const std::string& addition : additions) block.append(addition).push_back('\0');
  block.push_back('\0');
  return block;
}

WatchedRun RunWatched(const std::string& commandLine, const std::string& input,
                      const std::vector<std::string>& environment, DWORD hangLimitMs) {
  WatchedRun run;
  WinHandle job = NewKillOnCloseJob();
  Pipe in = NewPipe(true);
  Pipe out = NewPipe(false);
  Pipe err = NewPipe(false);
  if (!in.read || !out.write || !err.write) return run;

  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in.read.Get();
  startup.hStdOutput = out.write.Get();
  startup.hStdError = err.write.Get();
  WinHandle process = StartInJob(commandLine, environment, job.Get(), startup, run.startError);
  in.read.Close();
  out.write.Close();
  err.write.Close();
  if (!process) return run;
  run.started = true;

  testing_support::PipeDrain outDrain(out.read.Get());
  testing_support::PipeDrain errDrain(err.read.Get());
  DWORD written = 0;
  for (size_t offset = 0; offset < input.size(); offset += written) {
    if (!WriteFile(in.write.Get(), input.data() + offset, static_cast<DWORD>(input.size() - offset), &written,
                   nullptr)) {
      break;
    }
  }
  in.write.Close();
  if (WaitForSingleObject(process.Get(), hangLimitMs) == WAIT_TIMEOUT) {
    run.hung = true;
    TerminateJobObject(job.Get(), 1);
    WaitForSingleObject(process.Get(), INFINITE);
  }
  GetExitCodeProcess(process.Get(), &run.exitCode);
  // Tools the command left running still hold the output pipes: end them too.
  job.Close();
  run.out = outDrain.Finish();
  run.err = errDrain.Finish();
  return run;
}

WatchedChild::WatchedChild(const std::string& commandLine, const std::vector<std::string>& environment)
    : job_(NewKillOnCloseJob()) {
  Pipe out = NewPipe(false);
  // Standard error goes nowhere: the child's diagnostics are not looked at.
  SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
  WinHandle nowhere(
      CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING, 0, nullptr));
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = out.write.Get();
  startup.hStdError = nowhere.Get();
  process_ = StartInJob(commandLine, environment, job_.Get(), startup, startError_);
  out.write.Close();
  output_ = std::move(out.read);
}

WatchedChild::~WatchedChild() {
  if (process_) Kill();
}

bool WatchedChild::ReadByte(char& byte) {
  DWORD got = 0;
  return ReadFile(output_.Get(), &byte, 1, &got, nullptr) && got == 1;
}

void WatchedChild::Kill() {
  TerminateProcess(process_.Get(), 9);
  WaitForSingleObject(process_.Get(), INFINITE);
}

}  // namespace safety
