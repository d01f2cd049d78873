#include "engine/launch/kill_on_close_job.h"

#include <utility>

bool KillOnCloseJob::Create() {
  WinHandle job(CreateJobObjectW(nullptr, nullptr));
  if (!job) return false;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits)))
    return false;
  job_ = std::move(job);
  return true;
}

bool KillOnCloseJob::Assign(HANDLE process) const {
  return job_ && AssignProcessToJobObject(job_.Get(), process);
}

void KillOnCloseJob::TerminateAll() const {
  if (job_) TerminateJobObject(job_.Get(), 1);
}
