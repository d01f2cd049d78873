#include "tools/standins/vmrun/vmrun_power.h"

#include <array>

#include "tools/standins/common/text_codec.h"

namespace standins {

namespace {

// One power command: the words it takes after the path (the first is what an
// absent word means) and where it takes a machine, if it can.
struct PowerCommand {
  std::string_view word;
  std::array<std::string_view, 2> modes;
  std::optional<PowerState> (*next)(PowerState from);
};

constexpr std::array<PowerCommand, 6> kPowerCommands = {{
    {"start",
     {"gui", "nogui"},
     [](PowerState from) -> std::optional<PowerState> {
       return IsPoweredOn(from) ? from : PowerState::kRunning;  // already on: nothing to do
     }},
    {"stop",
     {"soft", "hard"},
     [](PowerState from) -> std::optional<PowerState> {
       if (from == PowerState::kOff) return std::nullopt;
       return PowerState::kOff;  // a suspended machine is powered off, its saved state dropped
     }},
    {"reset",
     {"soft", "hard"},
     [](PowerState from) -> std::optional<PowerState> {
       if (!IsPoweredOn(from)) return std::nullopt;
       return PowerState::kRunning;
     }},
    {"suspend",
     {"soft", "hard"},
     [](PowerState from) -> std::optional<PowerState> {
       if (!IsPoweredOn(from)) return std::nullopt;
       return PowerState::kSuspended;
     }},
    {"pause",
     {"", ""},
     [](PowerState from) -> std::optional<PowerState> {
       if (!IsPoweredOn(from)) return std::nullopt;
       return PowerState::kPaused;
     }},
    {"unpause",
     {"", ""},
     [](PowerState from) -> std::optional<PowerState> {
       if (!IsPoweredOn(from)) return std::nullopt;
       return PowerState::kRunning;
     }},
}};

bool AcceptsMode(const PowerCommand& command, const std::string& mode) {
  const std::string lower = AsciiLower(mode);
  return !lower.empty() && (lower == command.modes[0] || lower == command.modes[1]);
}

}  // namespace

std::optional<CommandResult> ChangePower(std::string_view word, const VmrunParameters& parameters, VmrunState& state) {
  const PowerCommand* command = nullptr;
  for (const PowerCommand& candidate : kPowerCommands) {
    if (candidate.word == word) command = &candidate;
  }
  if (!command) return std::nullopt;

  if (parameters.empty() || parameters.size() > 2) {
    return VmrunFailure("Invalid number of arguments for " + std::string(word));
  }
  if (parameters.size() == 2 && !AcceptsMode(*command, parameters[1])) {
    return VmrunFailure("Invalid argument: " + parameters[1]);
  }
  const std::string& path = parameters[0];
  VmxMachine* machine = MachineOnDisk(state, path);
  if (!machine) return MissingMachine(path);

  const std::optional<PowerState> next = command->next(machine->power);
  if (!next) return VmrunFailure("The virtual machine is not powered on: " + path);
  if (!IsPoweredOn(machine->power) && IsPoweredOn(*next)) machine->startedAs = path;
  if (!IsPoweredOn(*next)) machine->startedAs.clear();
  machine->power = *next;
  return CommandResult{};
}

CommandResult ListRunning(const VmrunParameters& parameters, VmrunState& state) {
  if (!parameters.empty()) return VmrunFailure("Invalid number of arguments for list");
  std::string lines;
  unsigned running = 0;
  for (const VmxMachine& machine : state.machines) {
    if (!IsPoweredOn(machine.power)) continue;
    ++running;
    lines += (machine.startedAs.empty() ? machine.path : machine.startedAs) + "\r\n";
  }
  return CommandResult{0, "Total running VMs: " + std::to_string(running) + "\r\n" + lines, ""};
}

}  // namespace standins
