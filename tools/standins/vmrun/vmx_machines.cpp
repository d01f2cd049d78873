#include "tools/standins/vmrun/vmx_machines.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

#include "tools/standins/common/files.h"

namespace standins {

namespace {

constexpr std::array<std::pair<PowerState, std::string_view>, 4> kPowerWords = {{
    {PowerState::kOff, "off"},
    {PowerState::kRunning, "running"},
    {PowerState::kPaused, "paused"},
    {PowerState::kSuspended, "suspended"},
}};

std::string_view PowerWord(PowerState power) {
  for (const auto& [state, word] : kPowerWords) {
    if (state == power) return word;
  }
  return "off";
}

std::optional<PowerState> PowerFromWord(std::string_view word) {
  for (const auto& [state, known] : kPowerWords) {
    if (known == word) return state;
  }
  return std::nullopt;
}

}  // namespace

std::optional<VmrunState> StateFromJson(const nlohmann::ordered_json& json) {
  VmrunState state;
  try {
    if (!json.contains("machines")) return state;
    for (const auto& item : json.at("machines")) {
      VmxMachine machine;
      machine.path = item.at("path").get<std::string>();
      machine.displayName = item.value("displayName", std::string());
      machine.isClone = item.value("isClone", false);
      const std::optional<PowerState> power = PowerFromWord(item.value("power", std::string("off")));
      if (!power) return std::nullopt;
      machine.power = *power;
      machine.startedAs = item.value("startedAs", std::string());
      machine.snapshots = item.value("snapshots", std::vector<std::string>());
      state.machines.push_back(std::move(machine));
    }
  } catch (const nlohmann::ordered_json::exception&) {
    return std::nullopt;
  }
  return state;
}

nlohmann::ordered_json StateToJson(const VmrunState& state) {
  nlohmann::ordered_json machines = nlohmann::ordered_json::array();
  for (const VmxMachine& machine : state.machines) {
    machines.push_back({{"path", machine.path},
                        {"displayName", machine.displayName},
                        {"isClone", machine.isClone},
                        {"power", PowerWord(machine.power)},
                        {"startedAs", machine.startedAs},
                        {"snapshots", machine.snapshots}});
  }
  return {{"machines", machines}};
}

void ForgetVanishedMachines(VmrunState& state) {
  std::erase_if(state.machines, [](const VmxMachine& machine) { return !FileExists(machine.path); });
}

VmxMachine* FindMachine(VmrunState& state, const std::string& path) {
  const auto found = std::find_if(state.machines.begin(), state.machines.end(),
                                  [&](const VmxMachine& machine) { return SamePath(machine.path, path); });
  return found == state.machines.end() ? nullptr : &*found;
}

bool IsPoweredOn(PowerState power) { return power == PowerState::kRunning || power == PowerState::kPaused; }

}  // namespace standins
