#include "tools/standins/vboxmanage/vbox_registration.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "tools/standins/common/files.h"
#include "tools/standins/common/text_codec.h"
#include "tools/standins/common/uuid.h"

namespace standins {

namespace {

std::string XmlAttribute(std::string_view value) {
  std::string escaped;
  for (char c : value) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped.push_back(c);
    }
  }
  return escaped;
}

std::string SettingsText(const std::string& uuid, const std::string& name, const std::string& osType) {
  return "<?xml version=\"1.0\"?>\r\n"
         "<VirtualBox xmlns=\"http://www.virtualbox.org/\" version=\"1.19-windows\">\r\n"
         "  <Machine uuid=\"{" +
         uuid + "}\" name=\"" + XmlAttribute(name) + "\" OSType=\"" + XmlAttribute(osType) +
         "\" snapshotFolder=\"Snapshots\"/>\r\n"
         "</VirtualBox>\r\n";
}

// <base folder>\<name>\<name>.vbox, written new; registers it when asked.
// Returns the failure, if any.
std::optional<CommandResult> WriteMachine(VboxContext& context, const std::string& baseFolder, const std::string& name,
                                          const std::string& osType, bool registerIt, VboxMachine& made) {
  const std::string folder = JoinPath(baseFolder, name);
  made.uuid = NewRandomUuid();
  made.name = name;
  made.settingsFile = JoinPath(folder, name + ".vbox");
  if (FileExists(made.settingsFile)) {
    return VboxFailure("Machine settings file '" + made.settingsFile + "' already exists");
  }
  if (!CreateFolderTree(folder) || !CreateNewFile(made.settingsFile, SettingsText(made.uuid, name, osType))) {
    return VboxFailure("Could not create the machine settings file '" + made.settingsFile + "'");
  }
  SetPower(made, VboxPower::kPoweredOff);
  if (registerIt) context.state.machines.push_back(made);
  return std::nullopt;
}

constexpr std::array<std::string_view, 5> kCloneKinds = {"link", "keepallmacs", "keepnatmacs", "keepdisknames",
                                                         "keephwuuids"};

// The --options words (any number of comma lists): whether a linked clone is
// asked for, or nothing, with `unknown` set, when a word is not known.
std::optional<bool> ReadCloneKinds(const std::vector<std::string>& values, std::string& unknown) {
  bool linked = false;
  for (const std::string& value : values) {
    for (const std::string& kind : CommaListWords(value)) {
      if (std::find(kCloneKinds.begin(), kCloneKinds.end(), kind) == kCloneKinds.end()) {
        unknown = value;
        return std::nullopt;
      }
      linked = linked || kind == "link";
    }
  }
  return linked;
}

}  // namespace

CommandResult CreateVm(VboxWords words, VboxContext& context) {
  static constexpr KnownOption kOptions[] = {
      {"--name", true}, {"--basefolder", true}, {"--ostype", true}, {"--register", false}};
  const ParsedOptions options = ParseOptions(words, kOptions);
  if (!options.error.empty()) return VboxFailure(options.error, kVboxSyntaxError);
  if (!options.positional.empty())
    return VboxFailure("Invalid parameter '" + options.positional[0] + "'", kVboxSyntaxError);
  const std::string name = options.Last("--name").value_or("");
  if (name.empty()) return VboxFailure("Parameter --name is required", kVboxSyntaxError);

  VboxMachine made;
  const bool registerIt = options.Has("--register");
  if (auto failure = WriteMachine(context, options.Last("--basefolder").value_or(context.defaultMachineFolder), name,
                                  options.Last("--ostype").value_or("Other_64"), registerIt, made)) {
    return *failure;
  }
  return CommandResult{0,
                       "Virtual machine '" + name + "' is created" + (registerIt ? " and registered." : ".") +
                           "\r\nUUID: " + made.uuid + "\r\nSettings file: '" + made.settingsFile + "'\r\n",
                       ""};
}

CommandResult CloneVm(VboxWords words, VboxContext& context) {
  static constexpr KnownOption kOptions[] = {{"--snapshot", true}, {"--mode", true},       {"--options", true},
                                             {"--name", true},     {"--basefolder", true}, {"--groups", true},
                                             {"--register", false}};
  const ParsedOptions options = ParseOptions(words, kOptions);
  if (!options.error.empty()) return VboxFailure(options.error, kVboxSyntaxError);
  if (options.positional.size() != 1) return VboxFailure("clonevm needs exactly one machine", kVboxSyntaxError);
  const std::string mode = AsciiLower(options.Last("--mode").value_or("machine"));
  if (mode != "machine" && mode != "machineandchildren" && mode != "all") {
    return VboxFailure("Invalid clone mode '" + mode + "'", kVboxSyntaxError);
  }
  std::string unknownKind;
  const std::optional<bool> linked = ReadCloneKinds(options.All("--options"), unknownKind);
  if (!linked) return VboxFailure("Invalid clone options '" + unknownKind + "'", kVboxSyntaxError);

  const VboxMachine* master = FindVboxMachine(context.state, options.positional[0]);
  if (!master) return MachineNotFound(options.positional[0]);
  const std::optional<std::string> snapshot = options.Last("--snapshot");
  if (snapshot && !FindSnapshot(*master, *snapshot)) {
    return VboxFailure("Could not find a snapshot named '" + *snapshot + "'");
  }
  if (*linked && !snapshot) return VboxFailure("A linked clone needs a snapshot (--snapshot)");

  const std::string name = options.Last("--name").value_or(master->name + " Clone");
  VboxMachine made;
  if (auto failure = WriteMachine(context, options.Last("--basefolder").value_or(context.defaultMachineFolder), name,
                                  "Other_64", options.Has("--register"), made)) {
    return *failure;
  }
  return CommandResult{0, "Machine has been successfully cloned as \"" + name + "\"\r\n", ""};
}

CommandResult UnregisterVm(VboxWords words, VboxContext& context) {
  static constexpr KnownOption kOptions[] = {{"--delete", false}};
  const ParsedOptions options = ParseOptions(words, kOptions);
  if (!options.error.empty()) return VboxFailure(options.error, kVboxSyntaxError);
  if (options.positional.size() != 1) return VboxFailure("unregistervm needs exactly one machine", kVboxSyntaxError);

  VboxMachine* machine = FindVboxMachine(context.state, options.positional[0]);
  if (!machine) return MachineNotFound(options.positional[0]);
  if (machine->power == VboxPower::kRunning || machine->power == VboxPower::kPaused) {
    return VboxFailure("Cannot unregister the machine '" + machine->name + "' while it is locked");
  }
  const std::string settingsFile = machine->settingsFile;
  context.state.machines.erase(context.state.machines.begin() + (machine - context.state.machines.data()));
  if (options.Has("--delete")) {
    // Only what the machine is made of goes, then its folder once it is empty,
    // as VirtualBox does: anything else left there stays, and so does the folder.
    DeleteFileAt(settingsFile);
    DeleteFileAt(settingsFile + "-prev");
    RemoveEmptyFolder(ParentFolder(settingsFile));
  }
  return CommandResult{};
}

}  // namespace standins
