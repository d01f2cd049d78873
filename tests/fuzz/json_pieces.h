#pragma once
// Pieces of request text: strings of every kind of character (ANSI, CJK,
// beyond every code page, invalid UTF-8, zero bytes), numbers of every
// spelling, and values of any JSON type, written as the page or a broken page
// would write them.

#include <cstddef>
#include <string>

#include "tests/fuzz/fuzz_random.h"

// The random source of one request, and whether the request is a sloppy one:
// only those get comments, unterminated strings and brackets, raw control
// bytes and odd escapes, so that most requests reach their command.
class TextRandom : public FuzzRandom {
 public:
  explicit TextRandom(FuzzRandom& source) : FuzzRandom(source.Next()) { loose = Percent(20); }
  bool loose = false;
};

// Up to maxPieces characters, each a letter, a byte or a telling piece.
std::string RandomText(TextRandom& random, size_t maxPieces);

// The bytes as a JSON string (escaped as JSON wants; sloppy requests get odd
// escapes, lone surrogates, raw control bytes, a missing closing quote).
std::string Quoted(TextRandom& random, const std::string& bytes);

// Mostly nothing; white space, and in sloppy requests comments.
std::string Gap(TextRandom& random);

// Integers, extremes, and numbers beyond 64 bits, fractions and non-numbers.
std::string NumberText(TextRandom& random);

// Any JSON value (arrays and objects nested up to 4 deep).
std::string AnyValue(TextRandom& random, int depth);

std::string Repeat(const char* piece, size_t times);
