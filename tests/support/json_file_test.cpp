#include "support/json_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "support/json_text.h"
#include "support/text_encoding.h"
#include "tests/common/test_support.h"

namespace {

using Json::Document;
using testing_support::FileExists;
using testing_support::FolderExists;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

// Names in a folder (given with its trailing backslash), sorted.
std::vector<std::string> ListFolder(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = entry.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(find, &entry));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

const Document kSettings{{"Prefs", Document::array({Document{{"a", "x"}, {"n", 3}}})}, {"e", Document::object()}};

class JsonFileTest : public ::testing::Test {
 protected:
  TempFolder folder_;
};

TEST_F(JsonFileTest, WriteStoresCrLfLinesWithoutATrailingLineEnd) {
  const std::string path = folder_ / "settings.json";
  ASSERT_TRUE(JsonFile::Write(kSettings, path));
  EXPECT_EQ(ReadFileBytes(path),
            "{\r\n    \"Prefs\": [\r\n        {\r\n            \"a\": \"x\",\r\n            \"n\": 3\r\n"
            "        }\r\n    ],\r\n    \"e\": {}\r\n}");
  EXPECT_EQ(ListFolder(folder_.path()), std::vector<std::string>{"settings.json"});
}

TEST_F(JsonFileTest, WriteReplacesAnExistingFile) {
  const std::string path = folder_ / "settings.json";
  WriteFileBytes(path, std::string(5000, 'x'));  // longer than the new text
  ASSERT_TRUE(JsonFile::Write(Document{{"n", 1}}, path));
  EXPECT_EQ(ReadFileBytes(path), "{\r\n    \"n\": 1\r\n}");
  EXPECT_EQ(ListFolder(folder_.path()), std::vector<std::string>{"settings.json"});
}

TEST_F(JsonFileTest, WriteRemovesWhatKilledSavesOfTheSameFileLeft) {
  const std::string path = folder_ / "settings.json";
  WriteFileBytes(path + ".4242.saving", "{\r\n    \"half");     // a save killed mid-way
  WriteFileBytes(path + ".77.saving", "");
  WriteFileBytes(folder_ / "other.json.4242.saving", "{");       // another file's: not ours to remove
  ASSERT_TRUE(JsonFile::Write(Document{{"n", 1}}, path));
  EXPECT_EQ(ListFolder(folder_.path()), (std::vector<std::string>{"other.json.4242.saving", "settings.json"}));
}

TEST_F(JsonFileTest, ReadTakesCrLfAndSkipsAByteOrderMark) {
  struct Case {
    const char* what;
    std::string bytes;
    std::optional<std::string> compact;  // nullopt: no document
  };
  const Case cases[] = {
      {"BOM and CR LF", "\xEF\xBB\xBF{\r\n    \"a\": \"x\\/y\",\r\n    \"n\": 3\r\n}\r\n", R"({"a":"x\/y","n":3})"},
      {"LF only", "{\n\"a\": [1, 2]\n}\n", R"({"a":[1,2]})"},
      {"no line end at all", "[true]", "[true]"},
      {"empty file", "", std::nullopt},
      {"only a BOM", "\xEF\xBB\xBF", std::nullopt},
      {"two BOMs", "\xEF\xBB\xBF\xEF\xBB\xBF{}", std::nullopt},
      {"BOM after white space", " \xEF\xBB\xBF{}", std::nullopt},
      {"not JSON", "[Prefs]\r\nname=x\r\n", std::nullopt},
      {"cut short", "{\r\n    \"a\": ", std::nullopt},
  };
  const std::string path = folder_ / "list.json";
  for (const Case& row : cases) {
    SCOPED_TRACE(row.what);
    WriteFileBytes(path, row.bytes);
    EXPECT_EQ(JsonFile::ReadCompact(path), row.compact);
    EXPECT_EQ(JsonFile::Read(path).has_value(), row.compact.has_value());
  }
}

TEST_F(JsonFileTest, ReadOfAMissingFileIsNothing) {
  EXPECT_FALSE(JsonFile::Read(folder_ / "missing.json"));
  EXPECT_FALSE(JsonFile::ReadCompact(folder_ / "missing.json"));
  EXPECT_FALSE(JsonFile::Read(folder_.path()));  // a folder
}

// Paths in files (with both slash kinds), escapes and UTF-8 come back as written.
TEST_F(JsonFileTest, WrittenDocumentReadsBackTheSame) {
  const Document document{
      {"Path", "C:\\VMs/clone 1\\win10.vmx"},
      {"Name", "\xe4\xb8\xad\xe6\x96\x87 \"quoted\"\ttab"},
      {"Clones", Document::array({Document{{"Id", -12}}, Document::object()})},
  };
  const std::string path = folder_ / "clones.json";
  ASSERT_TRUE(JsonFile::Write(document, path));
  EXPECT_NE(ReadFileBytes(path).find(R"("Path": "C:\\VMs\/clone 1\\win10.vmx")"), std::string::npos);
  const std::optional<Document> back = JsonFile::Read(path);
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, document);
  EXPECT_EQ(Json::GetString(*back, "Path"), "C:\\VMs/clone 1\\win10.vmx");
}

// The path is in the ANSI code page: a folder named with a character of it
// (e acute exists in both 936 and 1252).
TEST_F(JsonFileTest, PathsAreAnsiCodePageText) {
  const std::string ansiName = Utf8ToAnsi("Einstellungen \xc3\xa9");
  ASSERT_EQ(AnsiToUtf8(ansiName), "Einstellungen \xc3\xa9");
  const std::string subfolder = folder_ / ansiName;
  ASSERT_TRUE(CreateDirectoryA(subfolder.c_str(), nullptr));
  const std::string path = subfolder + "\\settings.json";
  ASSERT_TRUE(JsonFile::Write(kSettings, path));
  EXPECT_EQ(JsonFile::ReadCompact(path), R"({"Prefs":[{"a":"x","n":3}],"e":{}})");
  EXPECT_EQ(ListFolder(subfolder + "\\"), std::vector<std::string>{"settings.json"});
}

// Targets the write cannot replace: the call fails after the temporary file was
// made, the old content stays whole and the temporary file is gone. (A
// read-only target is no such case: Wine replaces it where Windows refuses.)
TEST_F(JsonFileTest, FailedReplaceKeepsTheOldFileAndLeavesNoTemporaryFile) {
  const std::string old = "{\r\n    \"old\": 1\r\n}";
  struct Case {
    const char* what;
    const char* name;
    // Sets up the target; returns a handle to keep open during the write.
    HANDLE (*prepare)(const std::string& target, const std::string& old);
    std::vector<std::string> listing;  // the folder afterwards
  };
  const Case cases[] = {
      {"target is a folder", "settings.json",
       [](const std::string& target, const std::string& old) {
         CreateDirectoryA(target.c_str(), nullptr);
         WriteFileBytes(target + "\\settings.json", old);
         return INVALID_HANDLE_VALUE;
       },
       {"settings.json"}},
      {"target open elsewhere", "settings.json",
       [](const std::string& target, const std::string& old) {
         WriteFileBytes(target, old);
         return CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
       },
       {"settings.json"}},
      {"target name not allowed", "settings?.json",
       [](const std::string&, const std::string&) { return INVALID_HANDLE_VALUE; },
       {}},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.what);
    TempFolder folder;
    const std::string target = folder / row.name;
    const HANDLE held = row.prepare(target, old);
    EXPECT_FALSE(JsonFile::Write(kSettings, target));
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);

    EXPECT_EQ(ListFolder(folder.path()), row.listing);
    if (FolderExists(target)) {
      EXPECT_EQ(ListFolder(target + "\\"), std::vector<std::string>{"settings.json"});
      EXPECT_EQ(ReadFileBytes(target + "\\settings.json"), old);
    } else if (!row.listing.empty()) {
      EXPECT_EQ(ReadFileBytes(target), old);
    }
  }
}

TEST_F(JsonFileTest, WriteIntoAMissingFolderFails) {
  const std::string target = folder_ / "missing\\settings.json";
  EXPECT_FALSE(JsonFile::Write(kSettings, target));
  EXPECT_FALSE(FileExists(target));
  EXPECT_TRUE(ListFolder(folder_.path()).empty());
}

}  // namespace
