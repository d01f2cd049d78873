#include "tools/standins/common/cross_process_lock.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "tools/standins/common/files.h"
#include "tools/standins/common/text_codec.h"

namespace standins {

namespace {

// Mutex names may not hold backslashes and have a length limit, so the name
// carries a hash of the resource's normalised, upper-cased spelling.
std::wstring MutexName(const std::string& resource) {
  std::wstring key = Utf8ToWide(FullPath(resource));
  CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (wchar_t unit : key) {
    hash ^= static_cast<std::uint16_t>(unit);
    hash *= 1099511628211ull;
  }
  wchar_t name[64];
  swprintf(name, 64, L"Local\\tarnwick-standin-%016llx", static_cast<unsigned long long>(hash));
  return name;
}

}  // namespace

CrossProcessLock::CrossProcessLock(const std::string& resource)
    : mutex_(CreateMutexW(nullptr, FALSE, MutexName(resource).c_str())) {
  if (!mutex_) return;  // no lock to be had: go on unguarded rather than not at all
  const DWORD waited = WaitForSingleObject(mutex_.get(), INFINITE);
  // An abandoned mutex (its holder was killed) is ours now all the same.
  held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

CrossProcessLock::~CrossProcessLock() {
  if (held_) ReleaseMutex(mutex_.get());
}

}  // namespace standins
