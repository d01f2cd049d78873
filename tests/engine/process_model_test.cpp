// The program as one of the engine's sub-processes, and without a browser.

#include <gtest/gtest.h>

#include "tests/common/test_support.h"

namespace {

using testing_support::RunChild;
using testing_support::TestProgramPath;

TEST(ProcessModel, ASubProcessEndsRightAfterInitialisation) {
  const auto child = RunChild("\"" + TestProgramPath() + "\" --type=renderer --lang=zh-CN");
  ASSERT_TRUE(child.started);
  EXPECT_EQ(child.exitCode, 0u);
}

TEST(ProcessModel, InitialisationFailsWithoutABrowser) {
  const auto child = RunChild("\"" + TestProgramPath() + "\" --twk-child=no-browser");
  ASSERT_TRUE(child.started);
  EXPECT_EQ(child.exitCode, 2u) << "InitializeCef answers -2";
}

}  // namespace
