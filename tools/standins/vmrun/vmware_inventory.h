#pragma once
// Workstation's library file, C:\Users\<user>\AppData\Roaming\VMware\inventory.vmls,
// which Tarnwick reads to see which clones are suspended or paused. Each
// machine is a block of nine `vmlistN.<key> = "<value>"` lines, config first
// and State last, so the state value is the 24th word after the quoted path.
// The file is shared by every stand-in whatever its state folder, so blocks of
// machines another state knows are kept while their .vmx files exist.

#include <string>
#include <vector>

#include "tools/standins/vmrun/vmx_machines.h"

namespace standins {

struct InventoryEntry {
  std::string config;       // the .vmx path, UTF-8
  std::string displayName;  // UTF-8
  bool isClone = false;
  std::string state;  // "paused" (suspended or paused) or "normal"
};

std::string InventoryPath();

// The file's text (UTF-8, as Workstation writes it) and back.
std::vector<InventoryEntry> ParseInventory(const std::string& text);
std::string RenderInventory(const std::vector<InventoryEntry>& entries);

// Brings the file in line with `state` (creating it when it is missing).
// Returns false when it cannot be written.
bool UpdateInventory(const VmrunState& state);

}  // namespace standins
