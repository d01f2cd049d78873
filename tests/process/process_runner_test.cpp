#include "support/process_runner.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "support/win_handle.h"
#include "tests/common/test_support.h"
#include "tests/process/child_tool.h"

namespace {

using child_tool::PrintedBytes;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;

constexpr char kCopyName[] = "copy.txt";

// RunCaptured does not wait for the tool, which may still be ending when the
// test is over, and holds the folder until it has (it inherited our current
// directory). A tool that never ends, say one stuck writing to a pipe nobody
// reads, shows up here after a minute.
bool WaitUntilReleased(const std::string& folder) {
  for (int attempt = 0; attempt < 600; ++attempt) {
    // Opening for deletion is refused while anyone holds the folder without
    // sharing deletion, as a current directory is held.
    WinHandle probe(CreateFileA(folder.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (probe || GetLastError() != ERROR_SHARING_VIOLATION) return true;
    Sleep(100);
  }
  return false;
}

// The runner writes its copy file relative to the current directory, so each
// test runs with a fresh temporary folder made current.
class InTempFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    char previous[MAX_PATH * 2] = {};
    GetCurrentDirectoryA(sizeof(previous), previous);
    previous_ = previous;
    ASSERT_TRUE(SetCurrentDirectoryA(folder_.path().c_str()));
  }
  void TearDown() override {
    SetCurrentDirectoryA(previous_.c_str());
    EXPECT_TRUE(WaitUntilReleased(folder_.path())) << "a tool still holds " << folder_.path();
  }

  std::string CopyPath() const { return folder_ / kCopyName; }

  TempFolder folder_;
  std::string previous_;
};

TEST_F(InTempFolder, ProgramThatCannotStart) {
  const std::string missing = "\"" + folder_ / "no-such-tool.exe" + "\"";
  EXPECT_FALSE(RunAndWait(missing));

  // The copy is still written, and a stale one is replaced.
  testing_support::WriteFileBytes(CopyPath(), "stale\r\n");
  EXPECT_EQ(RunCaptured(missing, kCopyName), "");
  EXPECT_EQ(ReadFileBytes(CopyPath()), "\r\n");
}

struct CaptureCase {
  const char* name;
  const char* mode;                  // see child_tool.h
  std::string returned;
  std::optional<std::string> copy;   // nullopt: no copy file is written
};

// Names the row in failure messages.
void PrintTo(const CaptureCase& row, std::ostream* out) { *out << row.name; }

const CaptureCase kCaptureCases[] = {
    // Reading stops at the limit; the rest of the output is dropped.
    {"LongOutputIsCut", "print:10000", PrintedBytes(4095), PrintedBytes(4095) + "\r\n"},
    // An answer printed in two writes a moment apart comes back whole.
    {"BurstsAreJoined", "bursts", "firstsecond", "firstsecond\r\n"},
    // A tool that exits without printing ends the read at once.
    {"SilentToolLeavesNoCopy", "silent", "", std::nullopt},
    // The copy is a text-mode file: every LF goes out as CR LF.
    {"CrLfBecomesCrCrLfInCopy", "crlf", "one\r\ntwo\r\n", "one\r\r\ntwo\r\r\n\r\n"},
    // Standard error shares the pipe with standard output.
    {"StandardErrorIsCaptured", "stdout-stderr", "out;err;", "out;err;\r\n"},
    // The output is a C string to its callers.
    {"OutputEndsAtZeroByte", "zero", "abc", "abc\r\n"},
};

class RunCapturedCase : public InTempFolder, public ::testing::WithParamInterface<CaptureCase> {};

TEST_P(RunCapturedCase, ReturnsOutputAndKeepsCopy) {
  const CaptureCase& row = GetParam();
  EXPECT_EQ(RunCaptured(child_tool::CommandLine(row.mode), kCopyName), row.returned);
  if (row.copy) {
    EXPECT_EQ(ReadFileBytes(CopyPath()), *row.copy);
  } else {
    EXPECT_FALSE(FileExists(CopyPath()));
  }
}

INSTANTIATE_TEST_SUITE_P(Tools, RunCapturedCase, ::testing::ValuesIn(kCaptureCases),
                         [](const ::testing::TestParamInfo<CaptureCase>& info) { return info.param.name; });

TEST(RunAndWait, ReturnsAfterTheToolEndedWhateverItsExitCode) {
  TempFolder folder;
  const std::string marker = folder / "ended";
  // The tool writes the marker just before it exits, a second after starting,
  // and exits with a failure code.
  EXPECT_TRUE(RunAndWait(child_tool::CommandLine("mark-and-fail:" + marker)));
  EXPECT_TRUE(FileExists(marker));
}

}  // namespace
