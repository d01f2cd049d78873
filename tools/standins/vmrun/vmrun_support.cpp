#include "tools/standins/vmrun/vmrun_support.h"

#include "tools/standins/common/files.h"

namespace standins {

CommandResult VmrunFailure(const std::string& message) {
  return CommandResult{kVmrunFailure, "", "Error: " + message + "\r\n"};
}

VmxMachine* MachineOnDisk(VmrunState& state, const std::string& path) {
  if (!FileExists(path)) return nullptr;
  if (VmxMachine* known = FindMachine(state, path)) return known;
  VmxMachine machine;
  machine.path = path;
  machine.displayName = FileStem(path);
  state.machines.push_back(std::move(machine));
  return &state.machines.back();
}

CommandResult MissingMachine(const std::string& path) {
  return VmrunFailure("Cannot open VM: " + path + ", The virtual machine cannot be found");
}

}  // namespace standins
