#pragma once
// Damaged forms of a valid settings or list file: what a cut write, another
// editor, a disk fault or a hand edit leaves behind.

#include <string>
#include <vector>

struct FileVariant {
  std::string name;   // what was done, for the failure report
  std::string bytes;
};

// A JSON file as the program writes it (pretty, CR LF): cut after every byte;
// with byte-order marks; with zero bytes; numberMember's value as fractions,
// exponents, odd spellings and numbers beyond 64 bits; invalid UTF-8 and bad
// escapes in stringMember's value; nesting 100,000 deep (and at the depth
// limit); and broken structure (duplicate member, trailing comma, comments,
// two documents, other roots).
std::vector<FileVariant> DamagedJsonVariants(const std::string& valid, const char* numberMember,
                                             const char* stringMember);

// A text file read as white-space separated words (`"..."` one word): cut
// after every byte; with a byte-order mark, zero bytes, invalid UTF-8, words
// moved, changed letter case, and 100,000 words or quotes.
std::vector<FileVariant> DamagedWordVariants(const std::string& valid, const std::string& someWord);
