#include "tools/standins/vboxmanage/vbox_dispatch.h"

#include <array>
#include <string_view>

#include "tools/standins/common/text_codec.h"
#include "tools/standins/vboxmanage/vbox_info.h"
#include "tools/standins/vboxmanage/vbox_power.h"
#include "tools/standins/vboxmanage/vbox_registration.h"
#include "tools/standins/vboxmanage/vbox_snapshots.h"

namespace standins {

namespace {

struct VboxCommand {
  std::string_view word;
  CommandResult (*run)(VboxWords words, VboxContext& context);
};

constexpr std::array<VboxCommand, 8> kCommands = {{
    {"createvm", CreateVm},
    {"clonevm", CloneVm},
    {"unregistervm", UnregisterVm},
    {"snapshot", Snapshot},
    {"startvm", StartVm},
    {"controlvm", ControlVm},
    {"showvminfo", ShowVmInfo},
    {"list", ListVms},
}};

}  // namespace

CommandResult RunVboxCommand(const std::vector<std::string>& arguments, VboxContext& context) {
  if (arguments.empty()) return VboxFailure("No command given", kVboxSyntaxError);
  const std::string word = AsciiLower(arguments[0]);
  for (const VboxCommand& command : kCommands) {
    if (command.word == word) return command.run(VboxWords(arguments).subspan(1), context);
  }
  return VboxFailure("Invalid command '" + arguments[0] + "'", kVboxSyntaxError);
}

}  // namespace standins
