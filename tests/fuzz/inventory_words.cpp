#include "tests/fuzz/inventory_words.h"

#include <cstring>
#include <vector>

#include "support/text_encoding.h"

namespace {

constexpr size_t kStateDistance = 24;

bool IsBlank(char c) { return c != '\0' && std::strchr(" \t\r\n\v\f", c) != nullptr; }

std::vector<std::string> WordsOf(const std::string& text) {
  std::vector<std::string> words;
  size_t at = 0;
  while (at < text.size()) {
    if (IsBlank(text[at])) {
      ++at;
      continue;
    }
    size_t end = at + 1;
    if (text[at] == '"') {
      const size_t closing = text.find('"', at + 1);
      end = closing == std::string::npos ? text.size() : closing + 1;
    } else {
      while (end < text.size() && !IsBlank(text[end])) ++end;
    }
    words.push_back(text.substr(at, end - at));
    at = end;
  }
  return words;
}

bool SameLetters(const std::string& a, const std::string& b) { return _stricmp(a.c_str(), b.c_str()) == 0; }

}  // namespace

bool IsPausedInInventory(const std::string& bytes, const std::string& machinePathUtf8) {
  const std::vector<std::string> words = WordsOf(bytes);
  const bool utf8 = words.size() >= 3 && words[0] == ".encoding" && words[1] == "=" && SameLetters(words[2], "\"UTF-8\"");
  const std::string quoted = "\"" + (utf8 ? machinePathUtf8 : Utf8ToAnsi(machinePathUtf8)) + "\"";
  for (size_t i = 0; i < words.size(); ++i) {
    if (words[i] != quoted) continue;
    return i + kStateDistance < words.size() && words[i + kStateDistance] == "\"paused\"";
  }
  return false;
}
