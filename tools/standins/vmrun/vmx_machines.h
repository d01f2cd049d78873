#pragma once
// What the vmrun stand-in remembers about the .vmx machines it has met: their
// display names, snapshots and power states.

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace standins {

enum class PowerState { kOff, kRunning, kPaused, kSuspended };

struct VmxMachine {
  std::string path;         // as first given
  std::string displayName;  // UTF-8
  bool isClone = false;
  PowerState power = PowerState::kOff;
  std::string startedAs;               // the path as given to the start that powered it on
  std::vector<std::string> snapshots;  // names; VMware allows the same name twice
};

struct VmrunState {
  std::vector<VmxMachine> machines;
};

// Nothing when the stored state is not in the shape written by StateToJson.
std::optional<VmrunState> StateFromJson(const nlohmann::ordered_json& json);
nlohmann::ordered_json StateToJson(const VmrunState& state);

// A machine is a .vmx file on disk: the ones whose file has gone are forgotten.
void ForgetVanishedMachines(VmrunState& state);

// The machine stored under this path however it is spelled, or nothing.
VmxMachine* FindMachine(VmrunState& state, const std::string& path);

// Powered on: listed by "vmrun list".
bool IsPoweredOn(PowerState power);

}  // namespace standins
