#include "tests/fuzz/file_damage.h"

#include <cstring>

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr size_t kDeep = 100000;

std::string Repeat(const std::string& piece, size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (size_t i = 0; i < times; ++i) out += piece;
  return out;
}

void AddCuts(std::vector<FileVariant>& variants, const std::string& valid) {
  for (size_t length = 0; length < valid.size(); ++length) {
    variants.push_back({"cut after " + std::to_string(length) + " bytes", valid.substr(0, length)});
  }
}

// Where the value of `"member": ` begins in a pretty-printed file.
size_t ValueAt(const std::string& text, const char* member) {
  const std::string key = std::string("\"") + member + "\": ";
  const size_t at = text.find(key);
  return at == std::string::npos ? std::string::npos : at + key.size();
}

// The member's value (a number) replaced by `value`.
std::string WithNumber(const std::string& text, const char* member, const std::string& value) {
  const size_t start = ValueAt(text, member);
  if (start == std::string::npos) return text;
  const size_t end = text.find_first_of(",\r\n}", start);
  return text.substr(0, start) + value + text.substr(end);
}

// Bytes put at the start of the member's value (a string), inside its quotes.
std::string InString(const std::string& text, const char* member, const std::string& bytes) {
  const size_t start = ValueAt(text, member);
  if (start == std::string::npos) return text;
  return text.substr(0, start + 1) + bytes + text.substr(start + 1);
}

// The whole line holding the member, line end included.
std::string LineOf(const std::string& text, const char* member) {
  const size_t at = ValueAt(text, member);
  if (at == std::string::npos) return "";
  const size_t start = text.rfind('\n', at) + 1;
  const size_t end = text.find('\n', at);
  return text.substr(start, end == std::string::npos ? std::string::npos : end - start + 1);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

}  // namespace

std::vector<FileVariant> DamagedJsonVariants(const std::string& valid, const char* numberMember,
                                             const char* stringMember) {
  std::vector<FileVariant> variants;
  AddCuts(variants, valid);
  const std::string bom = kBom;
  variants.push_back({"a byte-order mark", bom + valid});
  variants.push_back({"two byte-order marks", bom + bom + valid});
  variants.push_back({"a byte-order mark alone", bom});
  variants.push_back({"a byte-order mark, cut in half", bom + valid.substr(0, valid.size() / 2)});

  const std::string zero(1, '\0');
  variants.push_back({"a zero byte after", valid + zero});
  variants.push_back({"a zero byte before", zero + valid});
  variants.push_back({"a zero byte in a string", InString(valid, stringMember, zero)});
  variants.push_back({"zero bytes only", std::string(valid.size(), '\0')});

  constexpr const char* kNumbers[] = {
      "2.5", "2.0", "1e2", "1E+2", "-0", "02", "+2", "-", ".5", "0x10", "NaN", "Infinity", "9223372036854775807",
      "-9223372036854775808", "9223372036854775808", "-9223372036854775809", "18446744073709551616"};
  for (const char* number : kNumbers) {
    variants.push_back({std::string(numberMember) + " " + number, WithNumber(valid, numberMember, number)});
  }
  variants.push_back({std::string(numberMember) + " of 401 digits", WithNumber(valid, numberMember, "1" + std::string(400, '0'))});

  constexpr const char* kStringBytes[] = {
      "\xC3",         "\x80", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF", "\\ud800", "\\udc00\\ud800",
      "\\u00", "\\x41", "\x01", "\t", "\xE5\x85\x8B\xE9\x9A\x86", "\\u0000", "\\ud83d\\ude00"};
  for (const char* bytes : kStringBytes) {
    variants.push_back({std::string(stringMember) + " holding bytes " + bytes, InString(valid, stringMember, bytes)});
  }

  variants.push_back({"nested 100,000 deep", WithNumber(valid, numberMember, Repeat("[", kDeep) + Repeat("]", kDeep))});
  variants.push_back({"opened 100,000 deep", WithNumber(valid, numberMember, Repeat("[", kDeep))});
  variants.push_back({"objects nested 100,000 deep",
                      WithNumber(valid, numberMember, Repeat("{\"a\":", kDeep) + "1" + Repeat("}", kDeep))});
  // Around the reader's limit of 2,048 levels, the member itself being 3 or 4 deep.
  for (size_t levels : {2044u, 2045u, 2046u}) {
    variants.push_back({"nested " + std::to_string(levels) + " deep in a member",
                        WithNumber(valid, numberMember, Repeat("[", levels) + Repeat("]", levels))});
  }

  const std::string line = LineOf(valid, stringMember);
  variants.push_back({"a member twice", Replaced(valid, line, line + line)});
  const size_t last = valid.find_last_of("}]");
  variants.push_back({"a trailing comma", valid.substr(0, last - 2) + "," + valid.substr(last - 2)});
  variants.push_back({"a comment", "/* settings */" + valid});
  variants.push_back({"two documents", valid + valid});
  variants.push_back({"text after it", valid + "x"});
  variants.push_back({"white space around it", " \r\n" + valid + "\r\n\t "});
  variants.push_back({"line feeds only", Replaced(valid, "\r\n", "\n")});
  variants.push_back({"carriage returns only", Replaced(valid, "\r\n", "\r")});
  variants.push_back({"single quotes", Replaced(valid, std::string("\"") + stringMember + "\"", std::string("'") + stringMember + "'")});
  variants.push_back({"in an array", "[" + valid + "]"});
  for (const char* other : {"null", "[]", "{}", "0", "\"text\"", "\r\n", "{\"a\":1", "}"}) {
    variants.push_back({std::string("only ") + other, other});
  }
  return variants;
}

std::vector<FileVariant> DamagedWordVariants(const std::string& valid, const std::string& someWord) {
  std::vector<FileVariant> variants;
  AddCuts(variants, valid);
  variants.push_back({"a byte-order mark", kBom + valid});
  variants.push_back({"a zero byte before", std::string(1, '\0') + valid});
  const std::string inWord = someWord.substr(0, someWord.size() / 2) + std::string(1, '\0') + someWord.substr(someWord.size() / 2);
  variants.push_back({"a zero byte in a word", Replaced(valid, someWord, inWord)});
  variants.push_back({"invalid UTF-8 in a word", Replaced(valid, someWord, "\xC3" + someWord + "\xFF")});
  variants.push_back({"the word twice", Replaced(valid, someWord, someWord + " " + someWord)});
  variants.push_back({"a word before it", Replaced(valid, someWord, "x " + someWord)});
  variants.push_back({"line ends as blanks", Replaced(valid, "\r\n", " ")});
  variants.push_back({"tabs around '='", Replaced(valid, " = ", "\t=\t")});
  variants.push_back({"upper case", Replaced(Replaced(valid, "paused", "PAUSED"), "normal", "NORMAL")});
  variants.push_back({"quotes unbalanced", Replaced(valid, "\"paused\"", "\"paused")});
  variants.push_back({"100,000 words first", Repeat("x ", kDeep) + valid});
  variants.push_back({"100,000 quotes first", Repeat("\"", kDeep + 1) + valid});
  variants.push_back({"zero bytes only", std::string(valid.size(), '\0')});
  return variants;
}
