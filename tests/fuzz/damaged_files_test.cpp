// Every settings and list file the commands read, damaged every way a file
// gets damaged, under every command that reads it: no crash, a well-formed
// reply, the answer for an unreadable file (or, when the damage still reads,
// the answer for the clean file), and no file overwritten that the commands
// promise to leave alone.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/fuzz/child_mode.h"
#include "tests/fuzz/damaged_file_cases.h"
#include "tests/fuzz/fuzz_sandbox.h"

namespace {

class DamagedFileTest : public FuzzSandboxTest, public ::testing::WithParamInterface<size_t> {};

TEST_P(DamagedFileTest, EveryReaderAnswersAsForAnUnreadableFile) {
  const auto result = RunChild(std::string(kChildFlag) + "files --file=" + std::to_string(GetParam()));
  ASSERT_TRUE(result.started);
  std::printf("%s", result.out.c_str());
  EXPECT_EQ(result.exitCode, 0u) << result.err;
  EXPECT_NE(result.out.find(" 0 faults"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(DamagedFiles, DamagedFileTest, ::testing::Range<size_t>(0, DamagedFileCases().size()),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                           return std::string(DamagedFileCases()[info.param].name);
                         });

}  // namespace
