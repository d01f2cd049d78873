#include "tools/standins/vboxmanage/vbox_options.h"

#include "tools/standins/common/text_codec.h"

namespace standins {

bool ParsedOptions::Has(std::string_view name) const { return Last(name).has_value(); }

std::optional<std::string> ParsedOptions::Last(std::string_view name) const {
  std::optional<std::string> value;
  for (const auto& [option, optionValue] : given) {
    if (option == name) value = optionValue;
  }
  return value;
}

std::vector<std::string> ParsedOptions::All(std::string_view name) const {
  std::vector<std::string> values;
  for (const auto& [option, value] : given) {
    if (option == name) values.push_back(value);
  }
  return values;
}

ParsedOptions ParseOptions(std::span<const std::string> words, std::span<const KnownOption> known) {
  ParsedOptions parsed;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (word.size() < 3 || word.compare(0, 2, "--") != 0) {
      parsed.positional.push_back(word);
      continue;
    }
    const size_t equals = word.find('=');
    const std::string name = word.substr(0, equals);
    const KnownOption* match = nullptr;
    for (const KnownOption& candidate : known) {
      if (candidate.name == name) match = &candidate;
    }
    if (!match) {
      parsed.error = "Unknown option: " + word;
      return parsed;
    }
    if (!match->takesValue) {
      if (equals != std::string::npos) {
        parsed.error = "Option " + name + " takes no value";
        return parsed;
      }
      parsed.given.emplace_back(name, "");
    } else if (equals != std::string::npos) {
      parsed.given.emplace_back(name, word.substr(equals + 1));
    } else if (i + 1 < words.size()) {
      parsed.given.emplace_back(name, words[++i]);
    } else {
      parsed.error = "Option " + name + " needs a value";
      return parsed;
    }
  }
  return parsed;
}

std::vector<std::string> CommaListWords(const std::string& list) {
  std::vector<std::string> words;
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    std::string word = AsciiLower(list.substr(start, comma - start));
    if (!word.empty()) words.push_back(std::move(word));
    start = comma + 1;
  }
  return words;
}

}  // namespace standins
