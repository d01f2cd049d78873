#pragma once
// Conversions between the encodings Tarnwick meets at its boundaries: UTF-8
// (JSON, requests, replies, files), the system ANSI code page (command lines,
// paths given to the "A" functions, tool output) and UTF-16 (the browser).

#include <cstddef>
#include <string>

// UTF-8 -> UTF-16 -> ANSI code page. Characters the code page cannot hold come
// out as its default character; invalid UTF-8 becomes U+FFFD on the way. The
// result ends at the first zero byte of the input.
std::string Utf8ToAnsi(const std::string& text);

// ANSI code page -> UTF-16 -> UTF-8.
std::string AnsiToUtf8(const std::string& text);

// Decodes one strict UTF-8 sequence (RFC 3629) from text holding `available`
// bytes. Returns its length (1 to 4) and stores the code point in *out, -1 for
// an invalid sequence, -2 when the input ends inside the sequence.
int DecodeUtf8Char(int* out, const unsigned char* text, size_t available);

// Writes the zero-terminated UTF-8 text into destination as one 16-bit unit per
// code point (the low 16 bits: no surrogate pairs) and a terminating zero.
// Returns the units written before the terminator, or 0 when capacity is below
// 2, the text holds an invalid or cut-short sequence, or it does not fit in
// capacity - 1 units.
int Utf8ToUtf16Units(wchar_t* destination, unsigned capacity, const char* text);
