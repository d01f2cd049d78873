// Generated and mutated requests through the dispatcher: no crash, no hang,
// and every reply well formed with exactly its five members.
//
// 10,000 requests by default, from a seed of the moment; scripts/soak runs
// more. --fuzz-seed=, --fuzz-first= and --fuzz-count= on this program's command
// line choose them, so a failing request can be sent again on its own.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/fuzz/child_mode.h"
#include "tests/fuzz/fuzz_sandbox.h"

namespace {

FuzzRun RunOfThisProgram() {
  FuzzRun defaults;
  defaults.seed = GetTickCount64() * 2654435761u ^ GetCurrentProcessId();
  return FuzzRunFromCommandLine(GetCommandLineA(), defaults);
}

using RequestFuzz = FuzzSandboxTest;

TEST_F(RequestFuzz, EveryReplyIsWellFormed) {
  const FuzzRun run = RunOfThisProgram();
  std::printf("request fuzz: %s\n", FuzzRunArguments(run).c_str());
  std::fflush(stdout);
  const auto result = RunChild(std::string(kChildFlag) + "requests " + FuzzRunArguments(run));
  ASSERT_TRUE(result.started);
  std::printf("%s", result.out.c_str());
  EXPECT_EQ(result.exitCode, 0u) << "seed " << run.seed << "\n" << result.err;
  EXPECT_NE(result.out.find(" 0 faults"), std::string::npos);
}

}  // namespace
