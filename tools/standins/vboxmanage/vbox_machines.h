#pragma once
// What the VBoxManage stand-in remembers: the registered machines, their
// settings files, snapshots and states.

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace standins {

enum class VboxPower { kPoweredOff, kRunning, kPaused, kSaved };

struct VboxSnapshot {
  std::string uuid;
  std::string name;  // UTF-8; names may repeat, as in VirtualBox
  std::string description;
};

struct VboxMachine {
  std::string uuid;
  std::string name;          // UTF-8
  std::string settingsFile;  // <base folder>\<name>\<name>.vbox
  VboxPower power = VboxPower::kPoweredOff;
  std::string powerSince;               // 2026-12-11T09:30:00.000000000, UTC
  std::vector<VboxSnapshot> snapshots;  // oldest first
};

struct VboxState {
  std::vector<VboxMachine> machines;  // in the order they were registered
};

// Nothing when the stored state is not in the shape written by StateToJson.
std::optional<VboxState> VboxStateFromJson(const nlohmann::ordered_json& json);
nlohmann::ordered_json VboxStateToJson(const VboxState& state);

// By UUID (with or without braces) or else by name; the first registered wins.
VboxMachine* FindVboxMachine(VboxState& state, const std::string& uuidOrName);

// By UUID or else by name; the oldest wins, as VirtualBox searches from the root.
const VboxSnapshot* FindSnapshot(const VboxMachine& machine, const std::string& uuidOrName);

// "powered off", "running", "paused", "saved".
std::string PowerWord(VboxPower power);

// Moves the machine to `power`, stamping the time of the change.
void SetPower(VboxMachine& machine, VboxPower power);

}  // namespace standins
