#pragma once
// Reads a pipe to its end on a thread of its own, so that a child's two output
// pipes never block each other.

#include <windows.h>

#include <string>
#include <thread>
#include <utility>

namespace testing_support {

class PipeDrain {
 public:
  explicit PipeDrain(HANDLE pipe)
      : thread_([this, pipe] {
          char buffer[4096];
          DWORD got = 0;
          while (ReadFile(pipe, buffer, sizeof(buffer), &got, nullptr) && got > 0) text_.append(buffer, got);
        }) {}
  ~PipeDrain() {
    if (thread_.joinable()) thread_.join();
  }
  PipeDrain(const PipeDrain&) = delete;
  PipeDrain& operator=(const PipeDrain&) = delete;

  // Everything read, once the pipe has ended.
  std::string Finish() {
    thread_.join();
    return std::move(text_);
  }

 private:
  std::string text_;
  std::thread thread_;
};

}  // namespace testing_support
