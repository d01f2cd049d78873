#include "tools/standins/vboxmanage/vbox_machines.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>
#include <utility>

#include "tools/standins/common/uuid.h"

namespace standins {

namespace {

constexpr std::array<std::pair<VboxPower, std::string_view>, 4> kPowerWords = {{
    {VboxPower::kPoweredOff, "powered off"},
    {VboxPower::kRunning, "running"},
    {VboxPower::kPaused, "paused"},
    {VboxPower::kSaved, "saved"},
}};

std::optional<VboxPower> PowerFromWord(std::string_view word) {
  for (const auto& [power, known] : kPowerWords) {
    if (known == word) return power;
  }
  return std::nullopt;
}

// VirtualBox prints state times to the nanosecond; the clock gives milliseconds.
std::string NowStamp() {
  SYSTEMTIME now{};
  GetSystemTime(&now);
  char text[40];
  snprintf(text, sizeof(text), "%04u-%02u-%02uT%02u:%02u:%02u.%03u000000", now.wYear, now.wMonth, now.wDay, now.wHour,
           now.wMinute, now.wSecond, now.wMilliseconds);
  return text;
}

}  // namespace

std::optional<VboxState> VboxStateFromJson(const nlohmann::ordered_json& json) {
  VboxState state;
  try {
    if (!json.contains("machines")) return state;
    for (const auto& item : json.at("machines")) {
      VboxMachine machine;
      machine.uuid = item.at("uuid").get<std::string>();
      machine.name = item.at("name").get<std::string>();
      machine.settingsFile = item.at("settingsFile").get<std::string>();
      const std::optional<VboxPower> power = PowerFromWord(item.value("state", std::string("powered off")));
      if (!power) return std::nullopt;
      machine.power = *power;
      machine.powerSince = item.value("stateSince", std::string());
      for (const auto& snapshot : item.value("snapshots", nlohmann::ordered_json::array())) {
        machine.snapshots.push_back({snapshot.at("uuid").get<std::string>(), snapshot.at("name").get<std::string>(),
                                     snapshot.value("description", std::string())});
      }
      state.machines.push_back(std::move(machine));
    }
  } catch (const nlohmann::ordered_json::exception&) {
    return std::nullopt;
  }
  return state;
}

nlohmann::ordered_json VboxStateToJson(const VboxState& state) {
  nlohmann::ordered_json machines = nlohmann::ordered_json::array();
  for (const VboxMachine& machine : state.machines) {
    nlohmann::ordered_json snapshots = nlohmann::ordered_json::array();
    for (const VboxSnapshot& snapshot : machine.snapshots) {
      snapshots.push_back({{"uuid", snapshot.uuid}, {"name", snapshot.name}, {"description", snapshot.description}});
    }
    machines.push_back({{"uuid", machine.uuid},
                        {"name", machine.name},
                        {"settingsFile", machine.settingsFile},
                        {"state", PowerWord(machine.power)},
                        {"stateSince", machine.powerSince},
                        {"snapshots", snapshots}});
  }
  return {{"machines", machines}};
}

VboxMachine* FindVboxMachine(VboxState& state, const std::string& uuidOrName) {
  const std::string uuid = CanonicalUuid(uuidOrName);
  for (VboxMachine& machine : state.machines) {
    if (!uuid.empty() && machine.uuid == uuid) return &machine;
  }
  for (VboxMachine& machine : state.machines) {
    if (machine.name == uuidOrName) return &machine;
  }
  return nullptr;
}

const VboxSnapshot* FindSnapshot(const VboxMachine& machine, const std::string& uuidOrName) {
  const std::string uuid = CanonicalUuid(uuidOrName);
  for (const VboxSnapshot& snapshot : machine.snapshots) {
    if (!uuid.empty() && snapshot.uuid == uuid) return &snapshot;
  }
  for (const VboxSnapshot& snapshot : machine.snapshots) {
    if (snapshot.name == uuidOrName) return &snapshot;
  }
  return nullptr;
}

std::string PowerWord(VboxPower power) {
  for (const auto& [known, word] : kPowerWords) {
    if (known == power) return std::string(word);
  }
  return "powered off";
}

void SetPower(VboxMachine& machine, VboxPower power) {
  machine.power = power;
  machine.powerSince = NowStamp();
}

}  // namespace standins
