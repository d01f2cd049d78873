#include "support/folder_tree.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>

#include "tests/common/test_support.h"

namespace {

using testing_support::FileExists;
using testing_support::FolderExists;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

class FolderTreeTest : public ::testing::Test {
 protected:
  std::string MakeFolder(const std::string& relative) const {
    const std::string path = folder_ / relative;
    EXPECT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
    return path;
  }

  TempFolder folder_;
};

TEST_F(FolderTreeTest, SubfoldersAreListedInNtfsOrderWithoutFiles) {
  for (const char* name : {"tree", "tree\\2", "tree\\b", "tree\\10", "tree\\.cache", "tree\\A", "tree\\1"})
    MakeFolder(name);
  WriteFileBytes(folder_ / "tree\\c.txt", "");
  const std::string listFile = folder_ / "list.txt";

  const auto names = ListSubfolders(folder_ / "tree\\", listFile);
  ASSERT_TRUE(names);
  // Ordinal, letter case aside: digits as text, so 10 before 2.
  EXPECT_EQ(*names, (std::vector<std::string>{".cache", "1", "10", "2", "A", "b"}));
  EXPECT_EQ(ReadFileBytes(listFile), ".cache\r\n1\r\n10\r\n2\r\nA\r\nb\r\n");
  // The trailing backslash may be left out.
  EXPECT_EQ(SubfolderNames(folder_ / "tree"), names);
}

TEST_F(FolderTreeTest, AFolderThatCannotBeListedLeavesTheListFileAlone) {
  const std::string listFile = folder_ / "list.txt";
  WriteFileBytes(listFile, "older\r\n");
  WriteFileBytes(folder_ / "file.txt", "");
  for (const std::string& folder : {folder_ / "missing\\", folder_ / "file.txt\\", std::string()}) {
    EXPECT_FALSE(ListSubfolders(folder, listFile)) << folder;
  }
  EXPECT_EQ(ReadFileBytes(listFile), "older\r\n");
}

TEST_F(FolderTreeTest, ATreeGoesWholeWithOrWithoutTheTrailingBackslash) {
  for (const std::string& spelling : {std::string("one\\"), std::string("two")}) {
    const std::string root = MakeFolder(spelling);
    MakeFolder(spelling + "\\a");
    MakeFolder(spelling + "\\a\\.b");
    WriteFileBytes(root + "\\a\\.b\\x.txt", "x");
    WriteFileBytes(root + "\\y.txt", "y");
    DeleteTree(root);
    EXPECT_FALSE(FolderExists(root)) << spelling;
  }
}

TEST_F(FolderTreeTest, AFileThatCannotBeDeletedKeepsItsFoldersAndNothingElse) {
  const std::string root = MakeFolder("tree");
  MakeFolder("tree\\gone");
  WriteFileBytes(root + "\\gone\\x.txt", "x");
  MakeFolder("tree\\kept");
  MakeFolder("tree\\kept\\inner");
  const std::string readOnly = root + "\\kept\\inner\\ro.txt";
  WriteFileBytes(readOnly, "r");
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  WriteFileBytes(root + "\\kept\\other.txt", "o");

  DeleteTree(root);
  EXPECT_TRUE(FileExists(readOnly));
  EXPECT_FALSE(FolderExists(root + "\\gone"));
  EXPECT_FALSE(FileExists(root + "\\kept\\other.txt"));
}

struct RootCase {
  const char* path;
  bool root;
};

void PrintTo(const RootCase& row, std::ostream* out) { *out << "\"" << row.path << "\""; }

const RootCase kRootCases[] = {
    {"C:\\", true},
    {"c:/", true},
    {"C:", true},                     // "C:" and "\*" make the drive's root
    {"\\", true},                     // the root of the current drive
    {"\\\\server\\share", true},
    {"\\\\server\\share\\", true},
    {"\\\\?\\C:\\", true},
    {"\\\\?\\UNC\\server\\share", true},
    {"C:\\clones\\", false},
    {"C:\\clones\\..\\", true},       // spelled otherwise, still the root
    {"\\\\server\\share\\clones", false},
    {"", false},
};

class VolumeRootTest : public ::testing::TestWithParam<RootCase> {};

TEST_P(VolumeRootTest, IsRecognised) { EXPECT_EQ(IsVolumeRoot(GetParam().path), GetParam().root); }

INSTANTIATE_TEST_SUITE_P(Paths, VolumeRootTest, ::testing::ValuesIn(kRootCases));

}  // namespace
