#include "tools/standins/vmrun/vmrun_dispatch.h"

#include <array>
#include <string_view>

#include "tools/standins/common/text_codec.h"
#include "tools/standins/vmrun/vmrun_power.h"
#include "tools/standins/vmrun/vmrun_snapshots.h"

namespace standins {

namespace {

// The flags before the command word; each takes one value.
constexpr std::array<std::string_view, 8> kFlags = {"-T", "-h", "-P", "-u", "-p", "-vp", "-gu", "-gp"};

struct VmrunCommand {
  std::string_view word;  // lower case: vmrun's command words ignore case
  CommandResult (*run)(const VmrunParameters& parameters, VmrunState& state);
};

constexpr std::array<VmrunCommand, 4> kCommands = {{
    {"list", ListRunning},
    {"snapshot", TakeSnapshot},
    {"deletesnapshot", DeleteSnapshot},
    {"clone", CloneMachine},
}};

bool IsFlag(const std::string& word) {
  for (std::string_view flag : kFlags) {
    if (word == flag) return true;
  }
  return false;
}

}  // namespace

CommandResult RunVmrunCommand(const std::vector<std::string>& arguments, VmrunState& state) {
  size_t at = 0;
  while (at < arguments.size() && IsFlag(arguments[at])) {
    if (at + 1 >= arguments.size()) return VmrunFailure("Missing value for " + arguments[at]);
    const std::string hostType = AsciiLower(arguments[at + 1]);
    if (arguments[at] == "-T" && hostType != "ws" && hostType != "player") {
      return VmrunFailure("Unrecognized host type: " + arguments[at + 1]);
    }
    at += 2;
  }
  if (at >= arguments.size()) return VmrunFailure("No command given");

  const std::string word = AsciiLower(arguments[at]);
  const VmrunParameters parameters(arguments.begin() + static_cast<std::ptrdiff_t>(at) + 1, arguments.end());
  for (const VmrunCommand& command : kCommands) {
    if (command.word == word) return command.run(parameters, state);
  }
  if (std::optional<CommandResult> result = ChangePower(word, parameters, state)) return *result;
  return VmrunFailure("Unrecognized command: " + arguments[at]);
}

}  // namespace standins
