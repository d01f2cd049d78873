#pragma once
// VMware Workstation's inventory file: the machines its window lists, each
// with the state Workstation last recorded for it.

#include <optional>
#include <string>
#include <vector>

namespace VmwareBackend {

// C:\Users\<Windows user name>\AppData\Roaming\VMware\inventory.vmls (ANSI code page).
std::string InventoryPath();

struct Inventory {
  bool utf8 = false;                // the file declares its values UTF-8 (as Workstation writes it)
  std::vector<std::string> tokens;  // white-space separated; a double-quoted value is one token, quotes kept
};

// nullopt when the file cannot be read.
std::optional<Inventory> ReadInventory(const std::string& path);

// The state token (for example "paused" in double quotes) of the machine whose
// .vmx path is utf8Path; empty when the inventory does not list the path or
// ends before the state.
std::string MachineStateToken(const Inventory& inventory, const std::string& utf8Path);

}  // namespace VmwareBackend
