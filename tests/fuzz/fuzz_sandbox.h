#pragma once
// The parent's half: a fresh program folder holding a copy of this test
// program and the stand-in hypervisor tools, in which the copy is started as
// the child (the way Wine's conformance tests relaunch themselves).

#include <gtest/gtest.h>

#include <string>

#include "tests/common/test_support.h"

class FuzzSandboxTest : public ::testing::Test {
 protected:
  // Copies the program and the stand-ins, makes the master machines of both
  // hypervisors and removes the registry's install locations, so that the
  // settings the requests save are the ones used.
  void SetUp() override;

  // Runs the copy with `arguments` (the child flag and its own), in the folder
  // as its current folder, the stand-ins keeping their state and log there.
  testing_support::ChildResult RunChild(const std::string& arguments) const;

  std::string Path(const std::string& name) const { return folder_ / name; }

 private:
  testing_support::TempFolder folder_;
};
