#pragma once
// Helpers for the launch tests: the wrapper script's path, free ports,
// environment variables set for one test, and bounded waits.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace launch_testing {

// The Unix path of tools/browser/chromium-under-wine, found from the test
// program's folder (<repo>/build-x/tests/); "" when not running under Wine.
std::string WrapperPath();

// A port on 127.0.0.1 that nothing listens on at the moment of the call.
uint16_t UnusedLoopbackPort();

// Calls condition every 50 ms until it holds or the bound passes; returns
// whether it held. The bound only keeps a broken build from hanging.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds bound);

// Sets (or, with nullopt, removes) an environment variable of this process
// for the object's life, then restores what was there.
class ScopedVariable {
 public:
  ScopedVariable(const std::wstring& name, const std::optional<std::string>& utf8Value);
  ~ScopedVariable();
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  std::wstring name_;
  std::optional<std::wstring> previous_;
};

}  // namespace launch_testing
