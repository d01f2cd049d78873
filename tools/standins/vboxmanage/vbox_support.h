#pragma once
// Pieces every VBoxManage command uses: its error forms and machine lookup.

#include <span>
#include <string>

#include "tools/standins/common/standin_runner.h"
#include "tools/standins/vboxmanage/vbox_machines.h"
#include "tools/standins/vboxmanage/vbox_options.h"

namespace standins {

// The words after the command word.
using VboxWords = std::span<const std::string>;

// Where the command works: the state, and the stand-in's own machine folder
// for machines created without a base folder.
struct VboxContext {
  VboxState& state;
  std::string defaultMachineFolder;
};

// Exit codes of the real tool: 1 for a failed operation, 2 for bad syntax.
constexpr int kVboxFailure = 1;
constexpr int kVboxSyntaxError = 2;

// "VBoxManage.exe: error: <message>" on standard error.
CommandResult VboxFailure(const std::string& message, int exitCode = kVboxFailure);

// The real tool's message for a machine that is not registered.
CommandResult MachineNotFound(const std::string& uuidOrName);

}  // namespace standins
