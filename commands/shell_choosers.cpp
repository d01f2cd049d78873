#include "commands/shell_choosers.h"

#include "support/shell_dialogs.h"

namespace {

class SystemChoosers final : public ShellChoosers {
 public:
  bool ChooseFolder(std::string& folder) override { return ::ChooseFolder(folder); }
  bool ChooseVmxFile(std::string& path) override {
    char buffer[260] = {};
    if (!::ChooseVmxFile(buffer)) return false;
    path = buffer;
    return true;
  }
};

}  // namespace

void ShellChoosers::OpenInShell(const std::string& text) { ::OpenInShell(text); }

ShellChoosers& SystemShellChoosers() {
  static SystemChoosers choosers;
  return choosers;
}
