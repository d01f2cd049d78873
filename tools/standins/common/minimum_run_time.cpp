#include "tools/standins/common/minimum_run_time.h"

#include <charconv>
#include <optional>
#include <string>

#include "tools/standins/common/environment.h"

namespace standins {

MinimumRunTime::MinimumRunTime() : start_(GetTickCount64()) {
  const std::optional<std::string> delay = EnvironmentVariable(L"STANDIN_DELAY_MS");
  if (!delay) return;
  unsigned long long value = 0;
  const auto [end, error] = std::from_chars(delay->data(), delay->data() + delay->size(), value);
  if (error == std::errc() && end == delay->data() + delay->size()) minimumMs_ = value;
}

MinimumRunTime::~MinimumRunTime() {
  const ULONGLONG elapsed = GetTickCount64() - start_;
  if (elapsed >= minimumMs_) return;
  const ULONGLONG remaining = minimumMs_ - elapsed;
  Sleep(remaining < INFINITE ? static_cast<DWORD>(remaining) : INFINITE - 1);
}

}  // namespace standins
