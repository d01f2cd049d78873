#include "support/command_line.h"

std::string QuoteIfSpaced(const std::string& word) {
  if (word.find_first_of(" \t") == std::string::npos) return word;
  return "\"" + word + "\"";
}
