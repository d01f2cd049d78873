#pragma once
// VBoxManage's option syntax: "--name=value" or "--name value", flags alone,
// everything else positional; an option may be given more than once.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace standins {

struct KnownOption {
  std::string_view name;  // with its dashes: "--basefolder"
  bool takesValue;
};

struct ParsedOptions {
  std::vector<std::string> positional;
  std::vector<std::pair<std::string, std::string>> given;  // in command-line order
  std::string error;                                       // a syntax error; empty when all is well

  bool Has(std::string_view name) const;
  std::optional<std::string> Last(std::string_view name) const;
  std::vector<std::string> All(std::string_view name) const;
};

ParsedOptions ParseOptions(std::span<const std::string> words, std::span<const KnownOption> known);

// "link,KeepHwUUIDs" -> {"link", "keephwuuids"}: the words of a comma list, in
// lower case (VBoxManage takes them in any case), empty ones left out.
std::vector<std::string> CommaListWords(const std::string& list);

}  // namespace standins
