#include "tools/standins/vmrun/vmrun_snapshots.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "tools/standins/common/files.h"
#include "tools/standins/common/text_codec.h"

namespace standins {

namespace {

// Snapshot names need not be unique in Workstation, but a name that stands
// for two snapshots cannot be used to pick one.
std::optional<CommandResult> RequireOneSnapshotNamed(const VmxMachine& machine, const std::string& name) {
  const auto count = std::count(machine.snapshots.begin(), machine.snapshots.end(), name);
  if (count == 0) return VmrunFailure("The snapshot \"" + name + "\" does not exist");
  if (count > 1) return VmrunFailure("The name \"" + name + "\" does not uniquely identify one snapshot");
  return std::nullopt;
}

struct CloneOptions {
  std::optional<std::string> snapshot;
  std::optional<std::string> cloneName;
  std::string unknown;  // the first word that is not an option, if any
};

std::optional<std::string> OptionValue(const std::string& word, std::string_view option) {
  if (AsciiLower(word.substr(0, option.size())) != AsciiLower(option)) return std::nullopt;
  return word.substr(option.size());
}

CloneOptions ReadCloneOptions(const VmrunParameters& parameters, size_t first) {
  CloneOptions options;
  for (size_t i = first; i < parameters.size(); ++i) {
    if (auto value = OptionValue(parameters[i], "-snapshot=")) {
      options.snapshot = *value;
    } else if (auto name = OptionValue(parameters[i], "-cloneName=")) {
      options.cloneName = *name;
    } else if (options.unknown.empty()) {
      options.unknown = parameters[i];
    }
  }
  return options;
}

std::string CloneSettings(const std::string& displayName, const std::string& master, const std::string& snapshot,
                          const std::string& cloneType) {
  const std::pair<const char*, std::string> settings[] = {
      {".encoding", "UTF-8"},         {"config.version", "8"},        {"displayName", displayName},
      {"standin.clonedFrom", master}, {"standin.snapshot", snapshot}, {"standin.cloneType", cloneType},
  };
  std::string text;
  for (const auto& [key, value] : settings) text += std::string(key) + " = \"" + value + "\"\r\n";
  return text;
}

}  // namespace

CommandResult TakeSnapshot(const VmrunParameters& parameters, VmrunState& state) {
  if (parameters.size() != 2) return VmrunFailure("Invalid number of arguments for snapshot");
  VmxMachine* machine = MachineOnDisk(state, parameters[0]);
  if (!machine) return MissingMachine(parameters[0]);
  machine->snapshots.push_back(parameters[1]);
  return {};
}

CommandResult DeleteSnapshot(const VmrunParameters& parameters, VmrunState& state) {
  if (parameters.size() < 2 || parameters.size() > 3)
    return VmrunFailure("Invalid number of arguments for deleteSnapshot");
  VmxMachine* machine = MachineOnDisk(state, parameters[0]);
  if (!machine) return MissingMachine(parameters[0]);
  if (auto failure = RequireOneSnapshotNamed(*machine, parameters[1])) return *failure;
  machine->snapshots.erase(std::find(machine->snapshots.begin(), machine->snapshots.end(), parameters[1]));
  return {};
}

CommandResult CloneMachine(const VmrunParameters& parameters, VmrunState& state) {
  if (parameters.size() < 3) return VmrunFailure("Invalid number of arguments for clone");
  const std::string& source = parameters[0];
  const std::string& destination = parameters[1];
  const std::string cloneType = AsciiLower(parameters[2]);
  if (cloneType != "linked" && cloneType != "full") return VmrunFailure("Invalid clone type: " + parameters[2]);
  const CloneOptions options = ReadCloneOptions(parameters, 3);
  if (!options.unknown.empty()) return VmrunFailure("Invalid argument: " + options.unknown);

  VmxMachine* master = MachineOnDisk(state, source);
  if (!master) return MissingMachine(source);
  if (options.snapshot) {
    if (auto failure = RequireOneSnapshotNamed(*master, *options.snapshot)) return *failure;
  } else if (cloneType == "linked") {
    return VmrunFailure("A linked clone needs a snapshot: -snapshot=<name>");
  }
  if (FileExists(destination) || FolderExists(destination)) {
    return VmrunFailure("The destination virtual machine already exists: " + destination);
  }

  VmxMachine clone;
  clone.path = destination;
  clone.displayName = options.cloneName.value_or("Clone of " + master->displayName);
  clone.isClone = true;
  const std::string settings = CloneSettings(clone.displayName, source, options.snapshot.value_or(""), cloneType);
  if (!CreateFolderTree(ParentFolder(destination)) || !CreateNewFile(destination, settings)) {
    return VmrunFailure("Cannot create the clone " + destination);
  }
  state.machines.push_back(std::move(clone));
  return {};
}

}  // namespace standins
