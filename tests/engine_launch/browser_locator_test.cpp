#include "engine/launch/browser_locator.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "engine/launch/utf16_text.h"
#include "support/text_encoding.h"
#include "tests/common/test_support.h"
#include "tests/engine_launch/launch_test_support.h"

namespace {

using launch_testing::ScopedVariable;

constexpr const wchar_t* kEdgeKey = kBrowserAppPaths[0];
constexpr const wchar_t* kChromeKey = kBrowserAppPaths[1];

// The user's App Paths entries, written by a test and removed after it, with
// TARNWICK_BROWSER unset meanwhile.
class AppPathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const wchar_t* key : kBrowserAppPaths) {
      HKEY existing = nullptr;
      if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &existing) == ERROR_SUCCESS) {
        RegCloseKey(existing);
        GTEST_SKIP() << "this user already has a browser's App Paths entry";
      }
    }
    if (!LocateBrowser().empty()) GTEST_SKIP() << "this machine has a browser registered";
  }

  void TearDown() override { UnregisterAll(); }

  void UnregisterAll() {
    for (const wchar_t* key : written_) RegDeleteKeyW(HKEY_CURRENT_USER, key);
    written_.clear();
  }

  void Register(const wchar_t* key, const std::string& utf8Value) {
    HKEY created = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created, nullptr),
              ERROR_SUCCESS);
    written_.push_back(key);
    const std::wstring value = Utf8ToUtf16(utf8Value);
    RegSetValueExW(created, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(created);
  }

  // A file that exists, standing in for an installed browser (UTF-8 path).
  std::string InstalledProgram(const std::string& name) {
    const std::string path = folder_ / name;
    testing_support::WriteFileBytes(path, "MZ");
    return AnsiToUtf8(path);
  }

  ScopedVariable noOverride_{kBrowserVariable, std::nullopt};
  testing_support::TempFolder folder_;
  std::vector<const wchar_t*> written_;
};

enum class Entry { kNone, kInstalled, kInstalledQuoted, kMissingFile };
enum class Expected { kNothing, kEdge, kChrome };

struct RegistryCase {
  const char* what;
  Entry edge;
  Entry chrome;
  Expected expected;
};

const RegistryCase kRegistryCases[] = {
    {"nothing registered: no browser", Entry::kNone, Entry::kNone, Expected::kNothing},
    {"Chrome alone is found", Entry::kNone, Entry::kInstalled, Expected::kChrome},
    {"Edge is preferred over Chrome", Entry::kInstalled, Entry::kInstalled, Expected::kEdge},
    {"a quoted path is unquoted", Entry::kInstalledQuoted, Entry::kNone, Expected::kEdge},
    {"an entry naming a removed program is passed over", Entry::kMissingFile, Entry::kInstalled, Expected::kChrome},
    {"only stale entries: no browser", Entry::kMissingFile, Entry::kMissingFile, Expected::kNothing},
};

TEST_F(AppPathsTest, FindsTheBrowserFromTheUsersAppPaths) {
  for (const RegistryCase& c : kRegistryCases) {
    SCOPED_TRACE(c.what);
    UnregisterAll();
    std::string paths[2];
    const Entry entries[2] = {c.edge, c.chrome};
    const wchar_t* keys[2] = {kEdgeKey, kChromeKey};
    for (int i = 0; i < 2; ++i) {
      const std::string name = i == 0 ? "msedge.exe" : "chrome.exe";
      switch (entries[i]) {
        case Entry::kNone:
          continue;
        case Entry::kInstalled:
          paths[i] = InstalledProgram(name);
          Register(keys[i], paths[i]);
          break;
        case Entry::kInstalledQuoted:
          paths[i] = InstalledProgram(name);
          Register(keys[i], "\"" + paths[i] + "\"");
          break;
        case Entry::kMissingFile:
          Register(keys[i], AnsiToUtf8(folder_ / ("removed-" + name)));
          break;
      }
    }
    const std::string expected =
        c.expected == Expected::kEdge ? paths[0] : c.expected == Expected::kChrome ? paths[1] : std::string();
    EXPECT_EQ(LocateBrowser(), expected);
  }
}

TEST_F(AppPathsTest, TheEnvironmentVariableWinsAsItIsGiven) {
  Register(kEdgeKey, InstalledProgram("msedge.exe"));
  // Not checked for existence: a wrong choice is reported when it fails to start.
  ScopedVariable chosen(kBrowserVariable, std::string("/usr/bin/chromium-of-choice"));
  EXPECT_EQ(LocateBrowser(), "/usr/bin/chromium-of-choice");
}

}  // namespace
