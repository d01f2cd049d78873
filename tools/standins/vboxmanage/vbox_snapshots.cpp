#include "tools/standins/vboxmanage/vbox_snapshots.h"

#include <windows.h>

#include <cstdio>

#include "tools/standins/common/text_codec.h"
#include "tools/standins/common/uuid.h"

namespace standins {

namespace {

// --uniquename Number,Timestamp,Space,Force: Number or Timestamp adds a suffix
// when the name is taken (always, with Force); Space puts a blank before it.
// Without Number or Timestamp the name is kept as given.
struct UniqueNameFlags {
  bool number = false;
  bool timestamp = false;
  bool space = false;
  bool force = false;
};

std::optional<UniqueNameFlags> ReadUniqueNameFlags(const std::string& text) {
  UniqueNameFlags flags;
  for (const std::string& flag : CommaListWords(text)) {
    if (flag == "number") {
      flags.number = true;
    } else if (flag == "timestamp") {
      flags.timestamp = true;
    } else if (flag == "space") {
      flags.space = true;
    } else if (flag == "force") {
      flags.force = true;
    } else {
      return std::nullopt;
    }
  }
  return flags;
}

std::string TimestampSuffix() {
  SYSTEMTIME now{};
  GetSystemTime(&now);
  char text[32];
  snprintf(text, sizeof(text), "%04u-%02u-%02uT%02u:%02u:%02u.%03uZ", now.wYear, now.wMonth, now.wDay, now.wHour,
           now.wMinute, now.wSecond, now.wMilliseconds);
  return text;
}

std::string UniqueSnapshotName(const VboxMachine& machine, const std::string& name, const UniqueNameFlags& flags) {
  const bool taken = FindSnapshot(machine, name) != nullptr;
  if (!(flags.number || flags.timestamp) || !(taken || flags.force)) return name;
  const std::string separator = flags.space ? " " : "";
  if (flags.timestamp) return name + separator + TimestampSuffix();
  for (unsigned suffix = 1;; ++suffix) {
    const std::string candidate = name + separator + std::to_string(suffix);
    if (!FindSnapshot(machine, candidate)) return candidate;
  }
}

CommandResult TakeSnapshot(VboxMachine& machine, VboxWords words) {
  static constexpr KnownOption kOptions[] = {
      {"--description", true}, {"--live", false}, {"--pause", false}, {"--uniquename", true}};
  const ParsedOptions options = ParseOptions(words, kOptions);
  if (!options.error.empty()) return VboxFailure(options.error, kVboxSyntaxError);
  if (options.positional.size() != 1) return VboxFailure("snapshot take needs one snapshot name", kVboxSyntaxError);
  std::optional<UniqueNameFlags> flags = UniqueNameFlags{};
  if (const std::optional<std::string> given = options.Last("--uniquename")) flags = ReadUniqueNameFlags(*given);
  if (!flags)
    return VboxFailure("Invalid unique name description '" + *options.Last("--uniquename") + "'", kVboxSyntaxError);

  VboxSnapshot snapshot{NewRandomUuid(), UniqueSnapshotName(machine, options.positional[0], *flags),
                        options.Last("--description").value_or("")};
  machine.snapshots.push_back(snapshot);
  return CommandResult{0, "Snapshot taken. UUID: " + snapshot.uuid + "\r\n", ""};
}

CommandResult DeleteSnapshot(VboxMachine& machine, VboxWords words) {
  const ParsedOptions options = ParseOptions(words, {});
  if (!options.error.empty()) return VboxFailure(options.error, kVboxSyntaxError);
  if (options.positional.size() != 1) return VboxFailure("snapshot delete needs one snapshot name", kVboxSyntaxError);
  const VboxSnapshot* snapshot = FindSnapshot(machine, options.positional[0]);
  if (!snapshot) return VboxFailure("Could not find a snapshot named '" + options.positional[0] + "'");
  machine.snapshots.erase(machine.snapshots.begin() + (snapshot - machine.snapshots.data()));
  return CommandResult{};
}

}  // namespace

CommandResult Snapshot(VboxWords words, VboxContext& context) {
  if (words.size() < 2) return VboxFailure("snapshot needs a machine and a subcommand", kVboxSyntaxError);
  VboxMachine* machine = FindVboxMachine(context.state, words[0]);
  if (!machine) return MachineNotFound(words[0]);
  const std::string subcommand = AsciiLower(words[1]);
  if (subcommand == "take") return TakeSnapshot(*machine, words.subspan(2));
  if (subcommand == "delete") return DeleteSnapshot(*machine, words.subspan(2));
  return VboxFailure("Invalid parameter '" + words[1] + "'", kVboxSyntaxError);
}

}  // namespace standins
