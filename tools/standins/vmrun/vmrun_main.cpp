// vmrun.exe stand-in: VMware Workstation's command-line tool, simulated over
// a state file (see tools/standins/README.md).

#include "tools/standins/common/standin_runner.h"
#include "tools/standins/vmrun/vmrun_dispatch.h"
#include "tools/standins/vmrun/vmrun_support.h"
#include "tools/standins/vmrun/vmware_inventory.h"

namespace {

standins::CommandResult RunOnState(const std::vector<std::string>& arguments, const std::string& /*stateFolder*/,
                                   nlohmann::ordered_json& json) {
  std::optional<standins::VmrunState> state = standins::StateFromJson(json);
  if (!state) return standins::VmrunFailure("The stand-in's state file is damaged");
  standins::ForgetVanishedMachines(*state);
  standins::CommandResult result = standins::RunVmrunCommand(arguments, *state);
  json = standins::StateToJson(*state);
  // Every run, not only those that change something, so that a deleted
  // file comes back at the next run whatever the command.
  if (!standins::UpdateInventory(*state) && result.exitCode == 0) {
    return standins::VmrunFailure("Cannot write " + standins::InventoryPath());
  }
  return result;
}

}  // namespace

int main() { return standins::RunStandin({"vmrun-state.json", "Error: ", standins::kVmrunFailure}, RunOnState); }
