#include "tools/standins/vboxmanage/vbox_info.h"

#include <utility>

#include "tools/standins/common/files.h"
#include "tools/standins/common/text_codec.h"

namespace standins {

namespace {

// VBoxManage starts every value in the 30th column.
constexpr size_t kValueColumn = 29;

std::string InfoLine(const std::string& label, const std::string& value) {
  std::string line = label + ":";
  if (line.size() < kValueColumn) line.append(kValueColumn - line.size(), ' ');
  return line + value + "\r\n";
}

}  // namespace

CommandResult ShowVmInfo(VboxWords words, VboxContext& context) {
  static constexpr KnownOption kOptions[] = {{"--details", false}};
  const ParsedOptions options = ParseOptions(words, kOptions);
  if (!options.error.empty()) return VboxFailure(options.error, kVboxSyntaxError);
  if (options.positional.size() != 1) return VboxFailure("showvminfo needs exactly one machine", kVboxSyntaxError);
  const VboxMachine* machine = FindVboxMachine(context.state, options.positional[0]);
  if (!machine) return MachineNotFound(options.positional[0]);

  const std::string folder = ParentFolder(machine->settingsFile);
  const std::pair<std::string, std::string> lines[] = {
      {"Name", machine->name},
      {"Groups", "/"},
      {"Guest OS", "Other/Unknown (64-bit)"},
      {"UUID", machine->uuid},
      {"Config file", machine->settingsFile},
      {"Snapshot folder", JoinPath(folder, "Snapshots")},
      {"Log folder", JoinPath(folder, "Logs")},
      {"Memory size", "1024MB"},
      {"Number of CPUs", "1"},
      {"State", PowerWord(machine->power) + " (since " + machine->powerSince + ")"},
  };
  std::string text;
  for (const auto& [label, value] : lines) text += InfoLine(label, value);
  return CommandResult{0, text, ""};
}

CommandResult ListVms(VboxWords words, VboxContext& context) {
  if (words.size() != 1) return VboxFailure("list needs one kind: vms or runningvms", kVboxSyntaxError);
  const std::string kind = AsciiLower(words[0]);
  if (kind != "vms" && kind != "runningvms")
    return VboxFailure("Invalid parameter '" + words[0] + "'", kVboxSyntaxError);
  std::string text;
  for (const VboxMachine& machine : context.state.machines) {
    const bool running = machine.power == VboxPower::kRunning || machine.power == VboxPower::kPaused;
    if (kind == "runningvms" && !running) continue;
    text += "\"" + machine.name + "\" {" + machine.uuid + "}\r\n";
  }
  return CommandResult{0, text, ""};
}

}  // namespace standins
