#include "tools/standins/vboxmanage/vbox_power.h"

#include <array>
#include <string_view>

#include "tools/standins/common/text_codec.h"

namespace standins {

namespace {

bool IsPoweredOn(VboxPower power) { return power == VboxPower::kRunning || power == VboxPower::kPaused; }

// Each controlvm action acts on a machine that is powered on; a repeated
// pause or resume changes nothing and is no error.
struct ControlAction {
  std::string_view word;
  VboxPower next;
};

constexpr std::array<ControlAction, 5> kControlActions = {{
    {"poweroff", VboxPower::kPoweredOff},
    {"pause", VboxPower::kPaused},
    {"resume", VboxPower::kRunning},
    {"reset", VboxPower::kRunning},
    {"savestate", VboxPower::kSaved},
}};

}  // namespace

CommandResult StartVm(VboxWords words, VboxContext& context) {
  static constexpr KnownOption kOptions[] = {{"--type", true}};
  const ParsedOptions options = ParseOptions(words, kOptions);
  if (!options.error.empty()) return VboxFailure(options.error, kVboxSyntaxError);
  if (options.positional.size() != 1) return VboxFailure("startvm needs exactly one machine", kVboxSyntaxError);
  const std::string type = AsciiLower(options.Last("--type").value_or("gui"));
  if (type != "gui" && type != "headless" && type != "sdl" && type != "separate") {
    return VboxFailure("Invalid session type '" + type + "'", kVboxSyntaxError);
  }

  VboxMachine* machine = FindVboxMachine(context.state, options.positional[0]);
  if (!machine) return MachineNotFound(options.positional[0]);
  if (IsPoweredOn(machine->power)) {
    return VboxFailure("The machine '" + machine->name + "' is already locked for a session (or being unlocked)");
  }
  SetPower(*machine, VboxPower::kRunning);
  return CommandResult{0,
                       "Waiting for VM \"" + machine->name + "\" to power on...\r\nVM \"" + machine->name +
                           "\" has been successfully started.\r\n",
                       ""};
}

CommandResult ControlVm(VboxWords words, VboxContext& context) {
  if (words.size() != 2) return VboxFailure("controlvm needs a machine and an action", kVboxSyntaxError);
  const std::string action = AsciiLower(words[1]);
  const ControlAction* known = nullptr;
  for (const ControlAction& candidate : kControlActions) {
    if (candidate.word == action) known = &candidate;
  }
  if (!known) return VboxFailure("Invalid parameter '" + words[1] + "'", kVboxSyntaxError);

  VboxMachine* machine = FindVboxMachine(context.state, words[0]);
  if (!machine) return MachineNotFound(words[0]);
  if (!IsPoweredOn(machine->power)) return VboxFailure("Machine '" + machine->name + "' is not currently running");
  if (machine->power != known->next || action == "reset") SetPower(*machine, known->next);
  return CommandResult{};
}

}  // namespace standins
