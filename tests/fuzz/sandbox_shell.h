#pragma once
// What the commands get in place of the shell and the window: dialogs that
// choose inside the sandbox or are cancelled, a shell that opens nothing, and
// a window that only counts what it is asked to do.

#include <cstdint>
#include <cstdio>
#include <string>

#include "commands/shell_choosers.h"
#include "commands/window_control.h"
#include "tests/fuzz/fuzz_random.h"

class SandboxChoosers final : public ShellChoosers {
 public:
  explicit SandboxChoosers(std::string sandboxAnsi) : sandbox_(std::move(sandboxAnsi)) {}

  // The choices of the next request follow from this seed.
  void Reseed(uint64_t seed) { random_ = FuzzRandom(seed); }

  bool ChooseFolder(std::string& folder) override;
  bool ChooseVmxFile(std::string& path) override;
  // The text is dropped: a fuzzed address must not start anything.
  void OpenInShell(const std::string&) override { ++opened_; }

  uint64_t opened() const { return opened_; }

 private:
  std::string sandbox_;
  FuzzRandom random_{0};
  uint64_t opened_ = 0;
};

class CountingWindow final : public WindowControl {
 public:
  void Place(int, int, int, int) override { ++calls_; }
  void Show(bool) override { ++calls_; }
  void PostMinimize() override { ++calls_; }
  void SetDragging(bool) override { ++calls_; }
  // Only "close" without tray ends the program, and the fuzz never sends that.
  [[noreturn]] void EndProgram() override;

  uint64_t calls() const { return calls_; }

 private:
  uint64_t calls_ = 0;
};
