// VBoxManage.exe stand-in: VirtualBox's command-line tool, simulated over a
// state file (see tools/standins/README.md).

#include "tools/standins/common/files.h"
#include "tools/standins/common/standin_runner.h"
#include "tools/standins/vboxmanage/vbox_dispatch.h"

namespace {

standins::CommandResult RunOnState(const std::vector<std::string>& arguments, const std::string& stateFolder,
                                   nlohmann::ordered_json& json) {
  std::optional<standins::VboxState> state = standins::VboxStateFromJson(json);
  if (!state) return standins::VboxFailure("The stand-in's state file is damaged");
  standins::VboxContext context{*state, standins::JoinPath(stateFolder, "VirtualBox VMs")};
  standins::CommandResult result = standins::RunVboxCommand(arguments, context);
  json = standins::VboxStateToJson(*state);
  return result;
}

}  // namespace

int main() {
  return standins::RunStandin({"vboxmanage-state.json", "VBoxManage.exe: error: ", standins::kVboxFailure}, RunOnState);
}
