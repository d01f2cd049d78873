// The chooser commands through a stand-in for the shell dialogs.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "commands/dispatcher.h"
#include "commands/shell_choosers.h"

namespace {

// Answers like a dialog in which the user chose `chosen`, or cancelled when it is empty.
class ChosenByTest : public ShellChoosers {
 public:
  explicit ChosenByTest(std::string chosen) : chosen_(std::move(chosen)) {}
  bool ChooseFolder(std::string& folder) override { return Answer(folder); }
  bool ChooseVmxFile(std::string& path) override { return Answer(path); }

 private:
  bool Answer(std::string& out) const {
    if (chosen_.empty()) return false;
    out = chosen_;
    return true;
  }
  std::string chosen_;
};

nlohmann::json Ask(const std::string& func, const std::string& chosen) {
  ChosenByTest choosers(chosen);
  CommandEnvironment environment;
  environment.choosers = &choosers;
  const std::string request = R"({"func":")" + func + R"(","tag":9})";
  return nlohmann::json::parse(RunScriptCall(1, &request, environment).value());
}

struct ChooserCase {
  const char* func;
  const char* chosen;  // "" = cancelled
  const char* member;
  const char* expected;  // the member's text; nullptr when the reply has no data
  int code;
};

const ChooserCase kChooserCases[] = {
    {"Vm_shoose", "C:\\VM", "StoragePath", "C:\\VM\\", 200},                    // one trailing backslash
    {"Vm_shoose", "C:\\", "StoragePath", "C:\\\\", 200},                        // a root keeps its own and gets one more
    {"Vm_shoose", "", "StoragePath", nullptr, -1},                              // cancelled
    {"Vm_shoose_dir", "C:\\Program Files\\VMware\\VMware Workstation", "installpath",
     "\"C:\\Program Files\\VMware\\VMware Workstation\\vmrun.exe\"", 200},     // quoted tool path
    {"Vm_shoose_dir", "", "installpath", nullptr, -1},                          // cancelled
    {"vbox_shoose_dir", "D:\\Oracle\\VirtualBox", "InstallationPath", "\"D:\\Oracle\\VirtualBox\\VBoxManage.exe\"", 200},
    {"vbox_shoose_dir", "", "InstallationPath", nullptr, -1},                   // cancelled
    {"FileDialog", "D:\\m\\master.vmx", "file", "D:\\m\\master.vmx", 200},      // chosen
    {"FileDialog", "", "file", "", 200},                                        // cancelled is still a success
};

TEST(ShellCommands, ChoosersAnswerWithTheChosenPath) {
  for (const ChooserCase& c : kChooserCases) {
    const auto reply = Ask(c.func, c.chosen);
    EXPECT_EQ(reply["code"], c.code) << c.func << " " << c.chosen;
    if (c.expected) {
      EXPECT_EQ(reply["msg"], "success") << c.func;
      EXPECT_EQ(reply["data"][c.member], c.expected) << c.func << " " << c.chosen;
    } else {
      EXPECT_EQ(reply["msg"], "") << c.func;
      EXPECT_TRUE(reply["data"].is_null()) << c.func;
    }
  }
}

TEST(WindowCommands, AnswerWithoutAWindow) {
  for (const char* func : {"show", "minimize", "move_begin", "move_end"}) {
    CommandEnvironment environment;
    const std::string request = R"({"func":")" + std::string(func) + R"(","tag":1,"data":{"show":true}})";
    const auto reply = nlohmann::json::parse(RunScriptCall(1, &request, environment).value());
    EXPECT_EQ(reply["code"], 200) << func;
    EXPECT_EQ(reply["msg"], "success") << func;
  }
  CommandEnvironment environment;
  const std::string request = R"({"func":"desktop_size","tag":1})";
  const auto size = nlohmann::json::parse(RunScriptCall(1, &request, environment).value());
  EXPECT_GT(size["data"]["w"].get<int>(), 0);
  EXPECT_GT(size["data"]["h"].get<int>(), 0);
}

}  // namespace
