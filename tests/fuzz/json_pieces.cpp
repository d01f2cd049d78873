#include "tests/fuzz/json_pieces.h"

#include <cstring>

namespace {

// Member names the commands read, for objects nested anywhere.
constexpr const char* kNames[] = {"func", "tag", "data", "type", "id", "VmxId", "number", "StoragePath", "url", "tray"};

// Characters that say something: ANSI (Latin-1 and GBK), beyond every ANSI
// code page, beyond the 16-bit range, and what the shell and paths make of.
constexpr const char* kTextPieces[] = {
    "a", "Z", "0", "9", " ", "\t", "-", "_", ".", "~", "%", "$", "&", "|", "^", "!", "'", "`", ",", ";", "=", "+",
    "#", "@", "(", ")", "[", "]", "{", "}", "<", ">", "*", "?", "\"", "\\", "/", ":", "..", "\r\n",
    "\xC3\xA9",          // é
    "\xE5\x85\x8B\xE9\x9A\x86",  // 克隆
    "\xE4\xB8\xAD",      // 中
    "\xD0\x96",          // Ж (in neither 936's nor 1252's single bytes)
    "\xEF\xBC\xBC",      // fullwidth reverse solidus
    "\xEF\xBC\x9A",      // fullwidth colon
    "\xE2\x80\xA4",      // one dot leader
    "\xF0\x9F\x98\x80",  // 😀 (above U+FFFF)
    "\xEF\xBF\xBD",      // U+FFFD
    "\xC3",              // lead byte without its continuation
    "\x80",              // continuation byte alone
    "\xC0\xAF",          // overlong slash
    "\xED\xA0\x80",      // encoded surrogate
    "\xF4\x90\x80\x80",  // beyond U+10FFFF
    "\xFF",
    "",  // stands for a zero byte (TextPiece)
};

std::string TextPiece(TextRandom& random) {
  const size_t which = random.Below(std::size(kTextPieces));
  if (which == std::size(kTextPieces) - 1) return std::string(1, '\0');
  return kTextPieces[which];
}

void AppendHex4(std::string& out, unsigned value) {
  static const char kHex[] = "0123456789abcdef";
  out += "\\u";
  for (int shift = 12; shift >= 0; shift -= 4) out.push_back(kHex[(value >> shift) & 0xF]);
}

std::string ArrayText(TextRandom& random, int depth);
std::string ObjectText(TextRandom& random, int depth);

}  // namespace

std::string RandomText(TextRandom& random, size_t maxPieces) {
  std::string text;
  const size_t pieces = random.Below(maxPieces + 1);
  for (size_t i = 0; i < pieces; ++i) {
    if (random.Percent(40)) {
      text.push_back(static_cast<char>('a' + random.Below(26)));
    } else if (random.Percent(5)) {
      text.push_back(random.Byte());
    } else {
      text += TextPiece(random);
    }
  }
  return text;
}

// The bytes as a JSON string: escapes where JSON wants them, now and then a
// \u escape for a character or a lone surrogate, now and then a raw control
// byte that makes the text invalid.
std::string Quoted(TextRandom& random, const std::string& bytes) {
  std::string out = "\"";
  const bool playful = random.loose && random.Percent(40);
  for (size_t i = 0; i < bytes.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (playful && random.Percent(3)) {
      const unsigned kSpecial[] = {0xD800, 0xDC00, 0xFFFF, 0x0000, 0x00E9, 0x4E2D, 0xFEFF};
      AppendHex4(out, random.Pick(kSpecial));
      if (random.Percent(30)) {
        AppendHex4(out, 0xD83D);
        AppendHex4(out, 0xDE00);
      }
    }
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(static_cast<char>(c));
    } else if (c < 0x20) {
      if (playful && random.Percent(20)) {
        out.push_back(static_cast<char>(c));  // not allowed raw: the text does not parse
      } else {
        AppendHex4(out, c);
      }
    } else if (playful && c < 0x80 && random.Percent(5)) {
      AppendHex4(out, c);
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  if (random.loose && random.Percent(2)) return out;  // unterminated
  return out + "\"";
}

// White space and, now and then, the comments the request reader accepts.
std::string Gap(TextRandom& random) {
  if (random.Percent(90)) return "";
  constexpr const char* kBlanks[] = {" ", "\n", "\r\n\t", "   "};
  constexpr const char* kLoose[] = {"/* c */", "// c\n", "/**/", "\f", "\v", "/*"};
  return random.loose && random.Percent(50) ? random.Pick(kLoose) : random.Pick(kBlanks);
}

std::string NumberText(TextRandom& random) {
  constexpr const char* kNumbers[] = {
      "0", "1", "-1", "2", "7", "-0", "2147483647", "-2147483648", "2147483648", "-2147483649",
      "9223372036854775807", "-9223372036854775808", "9223372036854775808", "18446744073709551615",
      "18446744073709551616", "1e400", "-1e400", "1e-400", "0.5", "2.9", "-2.9", "1.0", "1E2", "1e+2", "00", "01",
      "-", "+1", ".5", "1.", "0x10", "NaN", "Infinity", "1_000", "123456789012345678901234567890"};
  if (random.Percent(50)) return std::to_string(random.Between(-1000000, 1000000));
  return random.Pick(kNumbers);
}

std::string AnyValue(TextRandom& random, int depth) {
  switch (random.Below(depth < 4 ? 9 : 7)) {
    case 0: return "null";
    case 1: return random.Percent(50) ? "true" : "false";
    case 2:
    case 3: return NumberText(random);
    case 4:
    case 5: return Quoted(random, RandomText(random, 12));
    case 6: {
      constexpr const char* kOdd[] = {"nul", "True", "'x'", "undefined", "[", "{", "}", "]", ":", ""};
      return random.loose ? random.Pick(kOdd) : Quoted(random, "");
    }
    case 7: return ArrayText(random, depth);
    default: return ObjectText(random, depth);
  }
}

namespace {

std::string ArrayText(TextRandom& random, int depth) {
  std::string out = "[" + Gap(random);
  const size_t count = random.Below(5);
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) out += "," + Gap(random);
    out += AnyValue(random, depth + 1);
  }
  if (count > 0 && random.loose && random.Percent(10)) out += ",";  // trailing comma
  return out + Gap(random) + (random.loose && random.Percent(3) ? "" : "]");
}

std::string ObjectText(TextRandom& random, int depth) {
  std::string out = "{" + Gap(random);
  const size_t count = random.Below(5);
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) out += "," + Gap(random);
    const std::string name = random.Percent(50) ? random.Pick(kNames) : RandomText(random, 6);
    out += Quoted(random, name) + Gap(random) + ":" + Gap(random) + AnyValue(random, depth + 1);
  }
  if (count > 0 && random.loose && random.Percent(10)) out += ",";
  return out + Gap(random) + (random.loose && random.Percent(3) ? "" : "}");
}

}  // namespace

std::string Repeat(const char* piece, size_t times) {
  std::string out;
  out.reserve(std::strlen(piece) * times);
  for (size_t i = 0; i < times; ++i) out += piece;
  return out;
}
